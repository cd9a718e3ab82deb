#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class CGsmCard;

// The exported command listing: for each card a header line and the message
// commands, one a line. Shared by the main window's export and the
// command-line tool.

// The block of one card. Empties g_cmdList and builds into it the commands
// of the messages that take part (all messages with bAll, else the ticked
// ones), each numbered from the list's size at that moment; then returns
// the header "控制卡(<name>)内容指令如下:\r\n" followed by every command and
// "\r\n". The header is there even when no message took part. *pMessages
// (when given) is increased by the number of messages that took part.
QString CardExportBlock(CGsmCard* pCard, bool bAll, int* pMessages);

// The whole listing as the file holds it: the UTF-16LE byte-order mark, then
// the blocks of the cards that take part (all cards with bAll, else the
// ticked ones) as UTF-16LE without terminator. *pMessages (when given) is
// set to the number of messages that took part; 0 means nothing was
// exported.
QByteArray ExportListing(const QList<CGsmCard*>& cards, bool bAll, int* pMessages);
