// livrano: the painter's program. Everything happens in the screens library; this only starts
// the application, runs start-up and hands over to the event loop.

#include <QApplication>

#include "app/file_names.h"
#include "screens/program.h"
#include "skin/design_font.h"

int main(int argc, char** argv) {
    livrano::useDevicePixels();
    QApplication application(argc, argv);
    livrano::ensureDesignFont();
    livrano::Program program(livrano::findProgramFolder(argv[0]), livrano::systemDesktop());
    if (!program.Main())
        return 1;
    return QApplication::exec();
}
