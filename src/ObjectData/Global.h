#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CGsmCard;
class CGsmPage;

// The project's cards in list order. The list owns them: remove a card with
// RemoveCard, and empty the list with RemoveAllCards (the list's own
// destruction does not delete them).
extern QList<CGsmCard*> g_cardList;
void RemoveCard(CGsmCard* pCard);
void RemoveAllCards();

// The command texts built for one card during send or export.
extern QStringList g_cmdList;
void FreeCommandList();

// The card the settings panels work on: the selected card, or the card of the
// selected message. Null until the first selection; never owned.
extern CGsmCard* g_pCurCard;

// Asked by a message for the ID its preview commands start at; the main
// window installs it. Without it the preview starts at 0.
extern std::function<int(const CGsmPage*)> g_fnPageNumberBase;

QString IntToText(int n);

// Splits an option list ("a|b|c|") into its items, as a drop-down list is
// filled from it; returns the number of items. A missing closing bar is
// supplied; two bars in a row give an empty item; a bar at position 0 ends
// the list at once.
int SplitComboList(const QString& strList, QStringList* pItems);

// The same splitting for the border list: the first piece is taken as it is,
// every later piece six times with " 1" to " 6". Returns the number of
// pieces (not of items).
int SplitBorderList(const QString& strList, QStringList* pItems);

// Option lists made in code rather than taken from the string table.
QString SpeedOptionList();      // "0" .. "9", "a" .. "z": 36 entries
QStringList StayOptionItems();  // 0..9, then 10..125 in steps of 5: 34 entries
QString BrightnessOptionList(); // "0(dark)" .. "F(brightest)": 16 entries
