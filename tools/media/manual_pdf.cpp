// SPDX-License-Identifier: MIT
#include "manual_pdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "painting.h"
#include "palette.h"

namespace livrano::media {
namespace {

// Overwrites the digits of every match with those of a fixed moment, in order, so that the text
// keeps its length (and the file's cross-reference offsets stay right).
void pin(QByteArray& pdf, const QRegularExpression& pattern) {
    static const char kMoment[] = "20260101000000000000000000";
    const QString latin = QString::fromLatin1(pdf);
    auto matches = pattern.globalMatch(latin);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        std::size_t next = 0;
        for (qsizetype i = match.capturedStart(1); i < match.capturedEnd(1); ++i) {
            if (pdf[i] >= '0' && pdf[i] <= '9') {
                pdf[i] = next + 1 < sizeof kMoment ? kMoment[next++] : '0';
            }
        }
    }
}

} // namespace

QByteArray manualPdf(const QString& markdown) {
    QTextDocument document;
    // The manual is read on paper and on screens of any size: a face whose bold weight embeds well.
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPointSizeF(10);
    body.setHintingPreference(QFont::PreferNoHinting);
    document.setDefaultFont(body);
    document.setMarkdown(markdown);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0) {
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            QTextCharFormat heading;
            heading.setForeground(kNavy);
            cursor.mergeCharFormat(heading);
            QTextBlockFormat spacing;
            spacing.setTopMargin(block.blockFormat().headingLevel() == 1 ? 0 : 10);
            spacing.setBottomMargin(4);
            cursor.mergeBlockFormat(spacing);
        }
    }

    // Tables as light, single-ruled grids.
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setBorderCollapse(true);
            // One pixel: the layout drops collapsed borders thinner than that, leaving no rules.
            format.setBorder(1);
            format.setBorderBrush(kLine.darker(112));
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setCellPadding(4);
            format.setCellSpacing(0);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            table->setFormat(format);
        }
    }

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Livrano Manual"));
        writer.setCreator(QStringLiteral("Livrano"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        // The document keeps its own 2 cm margin when printed; the page adds none.
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        document.print(&writer);
    }
    QByteArray pdf = buffer.data();
    // The writer stamps the clock into the document's information.
    pin(pdf, QRegularExpression(QStringLiteral("/CreationDate \\(D:([^)]*)\\)")));
    pin(pdf, QRegularExpression(QStringLiteral("/ModDate \\(D:([^)]*)\\)")));
    return pdf;
}

} // namespace livrano::media
