#pragma once

#include <QString>

#include <functional>

// Where a send action is, for a progress display. Reported before every
// exchange: nCommand counts the exchanges of one card's action from 1 to
// nCommands (targets x commands); nCommand 0 while the link is still
// looking for the card, with strPort the port being tried. The card fields
// are those the caller set with KxSetSendCard (0 when nobody did).
struct KxSendStep
{
    int nCard = 0;
    int nCards = 0;
    int nCommand = 0;
    int nCommands = 0;
    QString strTarget; // DTU target number; empty in the serial modes
    QString strPort;
};

using KxSendProgressFn = std::function<void(const KxSendStep&)>;

// Installs the progress hook (empty: none) and returns the one it replaces.
KxSendProgressFn KxSetSendProgress(KxSendProgressFn fn);

// The card being sent, counted from 1 among nCards; 0, 0 when unknown.
void KxSetSendCard(int nCard, int nCards);

// Fills in the card fields and hands the step to the hook.
void KxReportSendStep(KxSendStep step);
