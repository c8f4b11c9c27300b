// The program's main function: the Qt application object, then the entry.
#include <QApplication>

#include "app/WinMain.h"
#include "platform/gui/Forms.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rc = WinMain(argc, argv);
    DestroyApplication();
    return rc;
}
