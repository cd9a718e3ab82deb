#pragma once

#include <QString>

// Texts of the link and the send operations beyond the program's main string
// table: a cancelled send and the reasons why a port did not open. A
// language file may carry them like any other text (key = id - 40000);
// without one the built-in Chinese text below is used.
enum KxLinkTextId : int
{
    KX_STR_SEND_CANCELLED = 42101, // "发送已取消。"
    KX_STR_NOT_SENT = 42102,       // "%1 条指令未发送，从 %2 起。" (count, first command)
    KX_STR_NOTHING_SENT = 42103,   // "没有发送任何指令。"
    KX_STR_NO_PORTS = 42104,       // "没有可用的串口。"
    KX_STR_PORT_NOT_FOUND = 42105, // "设备不存在。"
    KX_STR_PORT_DENIED = 42106,    // "没有权限。请让当前用户可以使用串口 ..."
    KX_STR_PORT_BUSY = 42107,      // "已被其他程序占用。"
    KX_STR_PORT_NOT_SERIAL = 42108, // "不是串口。"
    KX_STR_PORT_OTHER = 42109,      // "无法打开(%1)。" (the system's reason)
};

// The text of a UI string id: the active language's text or the built-in
// one, for the ids of the main table and for the link's own ids above.
QString KxLinkString(int nId);
