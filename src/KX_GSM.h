#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>

class CKX_GSMDlg;
class QSocketNotifier;

// The application: reads the settings and the project beside the program,
// finds the language files, runs the main window as the program's main loop,
// and on the way out writes the settings and the project and frees the
// cards. A session that ends from outside (SIGTERM, SIGINT, SIGHUP, the
// desktop's logout) closes the main window as the user would, so the same
// exit sequence saves everything.
class CKX_GSMApp : public QApplication
{
    Q_OBJECT

public:
    CKX_GSMApp(int& argc, char** argv);
    ~CKX_GSMApp() override;

    // The start-up sequence, the main window's modal run included. Returns
    // false, as the run is over when it returns.
    bool InitInstance();
    // The shutdown sequence; its result is the process exit code.
    int ExitInstance();
    // InitInstance, then ExitInstance.
    int Run();

    QString GetProgramDir() const;
    QString GetSettingsPath() const;
    QString GetProjectPath() const;

    // Closes whatever is open on top of the main window, then the main
    // window, so the modal run ends and the exit sequence follows.
    void RequestClose();

    CKX_GSMDlg* GetMainWnd() const;

private:
    void InstallSignalHandlers();
    void InstallMessageSink();
    void ShowLoadReport();

    QPointer<CKX_GSMDlg> m_pMainWnd;
    QSocketNotifier* m_pSignalNotifier = nullptr;
    // The settings and the project were read, so writing them back keeps
    // what the user had.
    bool m_bLoaded = false;
    // Closing came from outside: no box may wait for a user who is gone.
    bool m_bClosingFromOutside = false;
    QString m_strLoadReport;
};
