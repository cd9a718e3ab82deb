#include "Pub/Settings.h"

#include "Pub/KxNumber.h"

#include <QSettings>

int g_nLang = 0;
int g_nPkg = 0;
int g_nTime = 0;
bool g_bPortsSet = false;
QString g_strPorts;

namespace
{
const int kDefaultLang = 2;
const int kDefaultPkg = 256;
const int kDefaultTime = 1500;

int ReadInt(const QSettings& ini, const char* pszKey, int nDefault)
{
    const QVariant value = ini.value(QLatin1String(pszKey));
    if (!value.isValid())
        return nDefault;
    // A value with commas comes back as a list; read it as the raw text would be.
    if (value.typeId() == QMetaType::QStringList)
        return KxStrToInt(value.toStringList().join(u','));
    return KxStrToInt(value.toString());
}
} // namespace

QString SettingsPathFor(const QString& strExecutablePath)
{
    return strExecutablePath + QStringLiteral(".ini");
}

void LoadSettings(const QString& strPath)
{
    QSettings ini(strPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("App"));
    g_nLang = ReadInt(ini, "LANG", kDefaultLang);
    g_nPkg = ReadInt(ini, "PKG", kDefaultPkg);
    g_nTime = ReadInt(ini, "TIME", kDefaultTime);
    const QVariant ports = ini.value(QStringLiteral("PORTS"));
    g_bPortsSet = ports.isValid();
    g_strPorts = ports.typeId() == QMetaType::QStringList ? ports.toStringList().join(u',')
                                                          : ports.toString();
    ini.endGroup();
}

bool SaveSettings(const QString& strPath)
{
    QSettings ini(strPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("App"));
    ini.setValue(QStringLiteral("LANG"), QString::number(g_nLang));
    ini.setValue(QStringLiteral("PKG"), QString::number(g_nPkg));
    ini.setValue(QStringLiteral("TIME"), QString::number(g_nTime));
    if (g_bPortsSet)
        ini.setValue(QStringLiteral("PORTS"), g_strPorts);
    ini.endGroup();
    ini.sync();
    return ini.status() == QSettings::NoError;
}
