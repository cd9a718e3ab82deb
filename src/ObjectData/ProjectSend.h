#pragma once

#include <QList>

class CGsmCard;

// The project-wide send: for every checked card in list order, the commands
// of its checked messages (numbered from 000 across the card) go through the
// card's SendCommandList. Stops at the first card that fails (a cancelled
// send fails too). The card's own boxes report each card; the caller says
// kSendDoneText when this returns true, once its progress display is gone.
bool SendCheckedCards(const QList<CGsmCard*>& cards);

// What the send says when every checked card took all its commands.
inline constexpr char16_t kSendDoneText[] = u"已完成发送";
