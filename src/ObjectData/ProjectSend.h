#pragma once

#include <QList>

class CGsmCard;

// The project-wide send: for every checked card in list order, the commands
// of its checked messages (numbered from 000 across the card) go through the
// card's SendCommandList. Stops at the first card that fails; when every
// card succeeded, says "已完成发送". The card's own boxes report each card.
// Returns whether "已完成发送" was reached.
bool SendCheckedCards(const QList<CGsmCard*>& cards);
