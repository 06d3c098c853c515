// SPDX-License-Identifier: MIT
// livrano-media: draws the program's skin files and its manual from source.
//
//   livrano-media PROGRAM_FOLDER MANUAL.md ICON_FOLDER
//
// writes PROGRAM_FOLDER/Media/ (backgrounds, window shapes, button strips, drag cursor, sound)
// and PROGRAM_FOLDER/Livrano.pdf, and the program's icon into ICON_FOLDER. The same sources give the same
// bytes on every run.

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QHashFunctions>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QWidget>

#include <cstdio>

#include "backgrounds.h"
#include "buttons.h"
#include "chime.h"
#include "cursor_art.h"
#include "icon.h"
#include "manual_pdf.h"
#include "painting.h"
#include "skin/cursor_file.h"
#include "skin/trans_form.h"

namespace {

using namespace livrano;

bool fail(const QString& message) {
    std::fprintf(stderr, "livrano-media: %s\n", qPrintable(message));
    return false;
}

bool save(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return fail(path + QStringLiteral(": ") + file.errorString());
    }
    return true;
}

bool saveBitmap(const QString& path, const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP")) {
        return fail(path + QStringLiteral(": cannot encode the bitmap"));
    }
    return save(path, buffer.data());
}

// A window whose picture is the background, shaped by the toolkit's own saving mode.
class BackgroundWindow : public QWidget {
public:
    explicit BackgroundWindow(const QImage& background) : m_background(background) {
        setWindowFlags(Qt::FramelessWindowHint);
        resize(background.size());
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_background); }

private:
    QImage m_background;
};

bool saveBackground(const QString& media, const QString& name, const QString& regionName,
                    const QImage& image) {
    if (!saveBitmap(media + name, image)) {
        return false;
    }
    BackgroundWindow window(image);
    clsTransForm shaper;
    if (const auto error = shaper.ShapeMe(window, qRgb(0, 0, 0), false, media + regionName)) {
        return fail(QStringLiteral("%1: error %2 (%3) %4")
                        .arg(regionName)
                        .arg(error->number)
                        .arg(error->source, error->description));
    }
    return true;
}

bool generate(const QString& folder, const QString& manualSource) {
    const QString media = folder + QStringLiteral("/Media/");
    if (!QDir().mkpath(media)) {
        return fail(media + QStringLiteral(": cannot create the folder"));
    }
    if (!media::loadArtFonts()) {
        return fail(
            QStringLiteral("the Tahoma face of the Wine fonts (Debian package fonts-wine) is missing"));
    }
    QFile manual(manualSource);
    if (!manual.open(QIODevice::ReadOnly)) {
        return fail(manualSource + QStringLiteral(": ") + manual.errorString());
    }
    const QString markdown = QString::fromUtf8(manual.readAll());

    bool ok = saveBackground(media, QStringLiteral("Main_Background.bmp"), QStringLiteral("MainRegion.dat"),
                             media::mainBackground()) &&
              saveBackground(media, QStringLiteral("Wizard_Background.bmp"),
                             QStringLiteral("WizardRegion.dat"), media::wizardBackground());
    for (const media::Strip& strip : media::buttonStrips()) {
        ok = ok && saveBitmap(media + strip.name + QStringLiteral(".bmp"), strip.image);
    }
    const QByteArray cursor = encodeCursorFile(media::moveCursor(), media::kMoveCursorHotspot);
    return ok && !cursor.isEmpty() && save(media + QStringLiteral("HMOVE.cur"), cursor) &&
           save(media + QStringLiteral("Next.wav"), media::chimeWav()) &&
           save(folder + QStringLiteral("/Livrano.pdf"), media::manualPdf(markdown));
}

// ICON_FOLDER/livrano.svg and livrano-SIZE.png for the desktop's usual sizes.
bool generateIcons(const QString& folder) {
    if (!QDir().mkpath(folder))
        return fail(folder + QStringLiteral(": cannot make the folder"));
    if (!save(folder + QStringLiteral("/livrano.svg"), media::iconSvg()))
        return false;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        if (!media::iconImage(size).save(&buffer, "PNG") ||
            !save(folder + QStringLiteral("/livrano-%1.png").arg(size), buffer.data()))
            return fail(QStringLiteral("cannot write the %1 pixel icon").arg(size));
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // The PDF writer walks hash tables when it writes the fonts; a fixed seed fixes their order.
    QHashSeed::setDeterministicGlobalSeed();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: livrano-media PROGRAM_FOLDER MANUAL.md ICON_FOLDER\n");
        return 2;
    }
    return generate(args[1], args[2]) && generateIcons(args[3]) ? 0 : 1;
}
