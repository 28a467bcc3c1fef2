#pragma once

#include <QApplication>

#include "dialog/CTillerbyDlg.h"

// The application: names itself "Kestran" (the caption of every message box), carries the
// application icon and keeps numbers in the C notation, then runs the main dialog for the
// life of the program.
class CTillerbyApp : public QApplication {
    Q_OBJECT

public:
    CTillerbyApp(int& argc, char** argv);

    // Runs the main dialog until it ends in any way. Answers the program's exit code.
    int InitInstance(SDialogServices services);
};
