#pragma once

#include <QWidget>

// What the settings panels have in common as child windows of the main
// window: Enter never closes or hides them (nor reaches the main window's
// default button), and a set button sends the command its field shows to the
// current card.
class CKxPanel : public QWidget
{
    Q_OBJECT

public:
    static const int kMaxCommand = 255; // characters of a field that are sent

    explicit CKxPanel(QWidget* pParent = nullptr);

    // A tooltip that wraps at the 160 pixels the panels' tips keep.
    static QString NarrowTip(const QString& strText);

protected:
    // Sends the shown command (its first 255 characters) to the current card
    // under the progress dialog; the card reports the outcome. Nothing
    // happens without a current card or with an empty field. Returns what
    // the card's send returns.
    int SendShownCommand(const QString& strShown, char* pReply = nullptr, int nReplySize = 0);

    void keyPressEvent(QKeyEvent* pEvent) override;
};
