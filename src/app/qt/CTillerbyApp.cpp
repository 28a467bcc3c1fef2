#include "app/qt/CTillerbyApp.h"

#include <clocale>

#include "app/qt/AppIcon.h"
#include "app/qt/DialogWindow.h"
#include "res/DialogTemplate.h"

CTillerbyApp::CTillerbyApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The toolkit takes every locale category from the environment when it starts; the
    // number texts of the dialog and the files are always written with a full stop.
    std::setlocale(LC_NUMERIC, "C");
    setApplicationName(QString::fromStdString(res::AppName()));
    setWindowIcon(AppIcon());
}

int CTillerbyApp::InitInstance(SDialogServices services) {
    CDialogWindow dialog(std::move(services));
    dialog.exec();
    return 0;
}
