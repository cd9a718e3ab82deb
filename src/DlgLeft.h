#pragma once

#include <QWidget>

#include <memory>

class CGsmCard;
class CGsmPage;
class QTreeWidget;
class QTreeWidgetItem;

namespace Ui
{
class CDlgLeft;
}

// The project tree: one item per card, one child per message of the card,
// with check boxes that choose what is sent and exported. It carries out the
// structural edits the toolbar asks for, changing the model and the tree
// together, renames cards in place and reports every change of selection.
// It holds pointers only; the card list owns the cards, a card its messages.
class CDlgLeft : public QWidget
{
    Q_OBJECT

public:
    enum Kind
    {
        NoSelection = 0,
        CardItem = 1,
        MessageItem = 2
    };

    explicit CDlgLeft(QWidget* pParent = nullptr);
    ~CDlgLeft() override;

    QTreeWidget* GetTree() const;

    // 0 nothing selected, 1 a card, 2 a message.
    int GetSelectionKind() const;
    CGsmCard* GetSelectedCard() const;
    CGsmPage* GetSelectedPage() const;

    // How many command texts the messages in front of pPage hold (same card,
    // tree order), as last built: the first ID of pPage's preview.
    int CountCommandsBefore(const CGsmPage* pPage) const;

    // The tree item of a card or a message (null when the tree has none).
    QTreeWidgetItem* FindItem(const void* pRecord) const;

public slots:
    // Fills a fresh tree from the card list and selects the last message of
    // the last card that has messages, or else the last card.
    void Rebuild();
    void AddCard();
    void AddText();
    void DeleteItem();
    void MoveUp();
    void MoveDown();
    // Sets the selected item's label to its message's caption.
    void RefreshItemLabel();

signals:
    // nKind 1: pCard is the selected card; 2: pPage the selected message and
    // pCard its card.
    void treeSelected(int nKind, CGsmCard* pCard, CGsmPage* pPage);

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    QTreeWidgetItem* InsertCardItem(CGsmCard* pCard);
    QTreeWidgetItem* InsertPageItem(QTreeWidgetItem* pCardItem, CGsmPage* pPage,
                                    const QString& strLabel);
    void SetItemChecked(QTreeWidgetItem* pItem, bool bChecked);
    void MoveSelected(int nStep);
    void OnCurrentItemChanged(QTreeWidgetItem* pCurrent);
    void OnItemChanged(QTreeWidgetItem* pItem);

    std::unique_ptr<Ui::CDlgLeft> m_pUi;
    // Set while the code itself changes items, so only the user's edits and
    // check box toggles reach the model.
    int m_nUpdating = 0;
};
