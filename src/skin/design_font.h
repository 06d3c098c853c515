// SPDX-License-Identifier: MIT
#pragma once
// The screens are designed in Tahoma. Where the system lacks it, the metric-compatible Tahoma of
// the Wine fonts (Debian's fonts-wine) is registered with the application instead.

#include <QString>
#include <QStringList>

namespace livrano {

inline const QString kDesignFontFamily = QStringLiteral("Tahoma");

// The files tried when the family is missing.
QStringList designFontFiles();

// True when kDesignFontFamily can be used (already there, or registered from designFontFiles()).
// Needs a QGuiApplication.
bool ensureDesignFont();

} // namespace livrano
