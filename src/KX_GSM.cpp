#include "KX_GSM.h"

#include "DialogTexts.h"
#include "KX_GSMDlg.h"
#include "MutliLang/LanguageList.h"
#include "ObjectData/Global.h"
#include "ObjectData/ProjectFile.h"
#include "Pub/KxMsgBox.h"
#include "Pub/Settings.h"
#include "SendProgress.h"

#include <QDir>
#include <QMessageBox>
#include <QPalette>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace
{
// The write end is used from the signal handler, which may do no more than
// write one byte.
int s_arrSignalFds[2] = {-1, -1};

extern "C" void OnTerminateSignal(int)
{
    const char ch = 1;
    if (s_arrSignalFds[0] >= 0)
    {
        const ssize_t n = ::write(s_arrSignalFds[0], &ch, 1);
        (void)n;
    }
}

QMessageBox::Icon BoxIcon(KxMsgIcon icon)
{
    switch (icon)
    {
    case KxMsgIcon::Warning:
        return QMessageBox::Warning;
    case KxMsgIcon::Error:
        return QMessageBox::Critical;
    case KxMsgIcon::Information:
    default:
        return QMessageBox::Information;
    }
}
} // namespace

CKX_GSMApp::CKX_GSMApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("KX_GSM"));
    setQuitOnLastWindowClosed(false);
}

CKX_GSMApp::~CKX_GSMApp()
{
    if (s_arrSignalFds[0] >= 0)
    {
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGHUP, SIG_DFL);
        ::close(s_arrSignalFds[0]);
        ::close(s_arrSignalFds[1]);
        s_arrSignalFds[0] = s_arrSignalFds[1] = -1;
    }
}

QString CKX_GSMApp::GetProgramDir() const
{
    return applicationDirPath();
}

QString CKX_GSMApp::GetSettingsPath() const
{
    return SettingsPathFor(applicationFilePath());
}

QString CKX_GSMApp::GetProjectPath() const
{
    return DefaultProjectPath(GetProgramDir());
}

CKX_GSMDlg* CKX_GSMApp::GetMainWnd() const
{
    return m_pMainWnd;
}

int CKX_GSMApp::Run()
{
    InitInstance();
    return ExitInstance();
}

void CKX_GSMApp::InstallMessageSink()
{
    KxSetMsgSink(
        [this](const QString& strText, KxMsgIcon icon)
        {
            if (m_bClosingFromOutside)
            {
                // Nobody is there to answer a box any more.
                std::fprintf(stderr, "%s\n", qUtf8Printable(strText));
                return;
            }
            QWidget* pParent = activeModalWidget();
            if (!pParent)
                pParent = m_pMainWnd;
            QMessageBox box(BoxIcon(icon), QStringLiteral("KX_GSM"), strText, QMessageBox::Ok,
                            pParent);
            box.setAccessibleName(strText);
            // The box is answered with the normal pointer, not the wait cursor
            // of the action that raised it.
            setOverrideCursor(Qt::ArrowCursor);
            box.exec();
            restoreOverrideCursor();
        });
}

void CKX_GSMApp::InstallSignalHandlers()
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, s_arrSignalFds) != 0)
    {
        s_arrSignalFds[0] = s_arrSignalFds[1] = -1;
        return;
    }
    m_pSignalNotifier = new QSocketNotifier(s_arrSignalFds[1], QSocketNotifier::Read, this);
    connect(m_pSignalNotifier, &QSocketNotifier::activated, this,
            [this]()
            {
                char ch = 0;
                const ssize_t n = ::read(s_arrSignalFds[1], &ch, 1);
                (void)n;
                m_bClosingFromOutside = true;
                RequestClose();
            });

    struct sigaction sa = {};
    sa.sa_handler = OnTerminateSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);

    // The desktop ends the session: the same close, before it goes.
    connect(this, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&)
            {
                m_bClosingFromOutside = true;
                RequestClose();
            });
}

void CKX_GSMApp::RequestClose()
{
    // A send under way stops after its current exchange.
    if (CSendProgress* pSend = CSendProgress::Current())
        pSend->Cancel();
    if (QWidget* pPopup = activePopupWidget())
        pPopup->close();
    // Nested modal runs end from the top down, each before the one below it
    // can return.
    QWidget* pModal = activeModalWidget();
    if (pModal && pModal != m_pMainWnd)
    {
        pModal->close();
        if (auto* pDlg = qobject_cast<QDialog*>(pModal))
            pDlg->reject();
        QTimer::singleShot(10, this, &CKX_GSMApp::RequestClose);
        return;
    }
    if (m_pMainWnd)
        m_pMainWnd->reject();
}

bool CKX_GSMApp::InitInstance()
{
    // The dialogs' background: light grey with black text.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(240, 240, 240));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    InstallMessageSink();
    InstallSignalHandlers();

    LoadSettings(GetSettingsPath());
    const KxProjectLoad load = LoadProject(GetProjectPath());
    m_bLoaded = true;
    if (load.eStatus == KxProjectLoad::Unreadable)
    {
        if (!load.strKeptAs.isEmpty())
            m_strLoadReport =
                KxUiText(
                    u"项目文件 %1 无法读取（%2）。\n原文件已保留为 %3，程序以一张新的控制卡开始。",
                    "The project file %1 could not be read (%2).\nIt was kept as %3; the "
                    "program starts with one new card.")
                    .arg(QDir::toNativeSeparators(GetProjectPath()), load.strError,
                         QDir::toNativeSeparators(load.strKeptAs));
        else
            m_strLoadReport =
                KxUiText(u"项目文件 %1 无法读取（%2），程序以一张新的控制卡开始。",
                         "The project file %1 could not be read (%2); the program starts with "
                         "one new card.")
                    .arg(QDir::toNativeSeparators(GetProjectPath()), load.strError);
    }
    ScanLanguageFiles(GetProgramDir());

    CKX_GSMDlg dlg(GetProgramDir());
    m_pMainWnd = &dlg;
    if (!m_strLoadReport.isEmpty())
        QTimer::singleShot(0, this, &CKX_GSMApp::ShowLoadReport);
    if (!m_bClosingFromOutside)
        dlg.exec();
    m_pMainWnd = nullptr;
    return false;
}

void CKX_GSMApp::ShowLoadReport()
{
    // Once, over the open main window.
    const QString strReport = std::exchange(m_strLoadReport, QString());
    if (!strReport.isEmpty())
        KxMessageBox(strReport, KxMsgIcon::Warning);
}

int CKX_GSMApp::ExitInstance()
{
    if (m_bLoaded)
    {
        if (!SaveSettings(GetSettingsPath()))
            KxMessageBox(
                KxUiText(u"无法保存设置文件 %1。", "The settings file %1 could not be saved.")
                    .arg(QDir::toNativeSeparators(GetSettingsPath())),
                KxMsgIcon::Error);
        QString strError;
        if (!SaveProject(GetProjectPath(), &strError))
            KxMessageBox(
                KxUiText(u"无法保存项目文件 %1：%2", "The project file %1 could not be saved: %2")
                    .arg(QDir::toNativeSeparators(GetProjectPath()), strError),
                KxMsgIcon::Error);
    }
    RemoveAllCards();
    FreeCommandList();
    return 0;
}
