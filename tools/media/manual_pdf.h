// SPDX-License-Identifier: MIT
#pragma once
// The manual: a Markdown text laid out as an A4 PDF in the program's colours.

#include <QByteArray>
#include <QString>

namespace livrano::media {

// The PDF bytes of markdown. Dates and document identifiers that the PDF writer takes from the
// clock are replaced by fixed values, so the same text gives the same bytes.
QByteArray manualPdf(const QString& markdown);

} // namespace livrano::media
