#include "Pub/KxLinkText.h"

#include "Pub/KxStr.h"

namespace
{
const char16_t* BuiltinLinkText(int nId)
{
    switch (nId)
    {
    case KX_STR_SEND_CANCELLED:
        return u"发送已取消。";
    case KX_STR_NOT_SENT:
        return u"%1 条指令未发送，从 %2 起。";
    case KX_STR_NOTHING_SENT:
        return u"没有发送任何指令。";
    case KX_STR_NO_PORTS:
        return u"没有可用的串口。";
    case KX_STR_PORT_NOT_FOUND:
        return u"设备不存在。";
    case KX_STR_PORT_DENIED:
        return u"没有权限。请让当前用户可以使用串口(例如把用户加入 dialout 组，"
               u"然后重新登录)。";
    case KX_STR_PORT_BUSY:
        return u"已被其他程序占用。";
    case KX_STR_PORT_NOT_SERIAL:
        return u"不是串口。";
    case KX_STR_PORT_OTHER:
        return u"无法打开(%1)。";
    default:
        return nullptr;
    }
}
} // namespace

QString KxLinkString(int nId)
{
    QString strText = CKxStr(nId).GetText();
    if (strText.isEmpty())
        if (const char16_t* pszBuiltin = BuiltinLinkText(nId))
            strText = QString::fromUtf16(pszBuiltin);
    return strText;
}
