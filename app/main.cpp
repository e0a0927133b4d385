#include "busyscope_app.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CBusyscopeApp theApp;
    if (!theApp.InitInstance())
        return 1;
    return QApplication::exec();
}
