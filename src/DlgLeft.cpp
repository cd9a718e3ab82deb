#include "DlgLeft.h"

#include "DialogTexts.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "ui_DlgLeft.h"

#include <QKeyEvent>
#include <QTreeWidget>

namespace
{
const int kTreeGroup = 3;
// Item data: the record and whether it is a card.
const int kRecordRole = Qt::UserRole;
const int kIsCardRole = Qt::UserRole + 1;

CGsmCard* CardOf(const QTreeWidgetItem* pItem)
{
    if (!pItem || !pItem->data(0, kIsCardRole).toBool())
        return nullptr;
    return static_cast<CGsmCard*>(pItem->data(0, kRecordRole).value<void*>());
}

CGsmPage* PageOf(const QTreeWidgetItem* pItem)
{
    if (!pItem || pItem->data(0, kIsCardRole).toBool())
        return nullptr;
    return static_cast<CGsmPage*>(pItem->data(0, kRecordRole).value<void*>());
}

// The card item of an item: itself for a card, its parent for a message.
QTreeWidgetItem* CardItemOf(QTreeWidgetItem* pItem)
{
    if (!pItem)
        return nullptr;
    QTreeWidgetItem* pParent = pItem->parent();
    if (!pParent)
        return pItem;
    Q_ASSERT(!pParent->parent()); // the tree has two levels
    return pParent;
}

// Guards a change the code makes itself.
class CUpdating
{
public:
    explicit CUpdating(int& n) : m_n(n) { ++m_n; }
    ~CUpdating() { --m_n; }

private:
    int& m_n;
};
} // namespace

CDlgLeft::CDlgLeft(QWidget* pParent) : QWidget(pParent), m_pUi(std::make_unique<Ui::CDlgLeft>())
{
    m_pUi->setupUi(this);
    ApplyDialogTexts(this, kTreeGroup);
    QTreeWidget* pTree = m_pUi->treeProject;
    pTree->setAccessibleName(KxUiText(u"项目", "Project"));
    connect(pTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* pCurrent) { OnCurrentItemChanged(pCurrent); });
    connect(pTree, &QTreeWidget::itemChanged, this,
            [this](QTreeWidgetItem* pItem) { OnItemChanged(pItem); });
}

CDlgLeft::~CDlgLeft() = default;

QTreeWidget* CDlgLeft::GetTree() const
{
    return m_pUi->treeProject;
}

void CDlgLeft::keyPressEvent(QKeyEvent* pEvent)
{
    // Enter on the panel does nothing (the tree has its own keys).
    if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter)
    {
        pEvent->accept();
        return;
    }
    QWidget::keyPressEvent(pEvent);
}

int CDlgLeft::GetSelectionKind() const
{
    const QTreeWidgetItem* pItem = m_pUi->treeProject->currentItem();
    if (!pItem)
        return NoSelection;
    return pItem->parent() ? MessageItem : CardItem;
}

CGsmCard* CDlgLeft::GetSelectedCard() const
{
    return CardOf(CardItemOf(m_pUi->treeProject->currentItem()));
}

CGsmPage* CDlgLeft::GetSelectedPage() const
{
    return PageOf(m_pUi->treeProject->currentItem());
}

QTreeWidgetItem* CDlgLeft::FindItem(const void* pRecord) const
{
    QTreeWidget* pTree = m_pUi->treeProject;
    for (int i = 0; i < pTree->topLevelItemCount(); ++i)
    {
        QTreeWidgetItem* pCardItem = pTree->topLevelItem(i);
        if (pCardItem->data(0, kRecordRole).value<void*>() == pRecord)
            return pCardItem;
        for (int j = 0; j < pCardItem->childCount(); ++j)
        {
            if (pCardItem->child(j)->data(0, kRecordRole).value<void*>() == pRecord)
                return pCardItem->child(j);
        }
    }
    return nullptr;
}

void CDlgLeft::SetItemChecked(QTreeWidgetItem* pItem, bool bChecked)
{
    CUpdating guard(m_nUpdating);
    pItem->setCheckState(0, bChecked ? Qt::Checked : Qt::Unchecked);
}

QTreeWidgetItem* CDlgLeft::InsertCardItem(CGsmCard* pCard)
{
    CUpdating guard(m_nUpdating);
    auto* pItem = new QTreeWidgetItem(QStringList(pCard->GetName()));
    pItem->setData(0, kRecordRole, QVariant::fromValue<void*>(pCard));
    pItem->setData(0, kIsCardRole, true);
    // Cards are renamed in place; messages take their label from the editor.
    pItem->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable |
                    Qt::ItemIsEditable);
    pItem->setCheckState(0, Qt::Unchecked);
    m_pUi->treeProject->addTopLevelItem(pItem);
    return pItem;
}

QTreeWidgetItem* CDlgLeft::InsertPageItem(QTreeWidgetItem* pCardItem, CGsmPage* pPage,
                                          const QString& strLabel)
{
    CUpdating guard(m_nUpdating);
    auto* pItem = new QTreeWidgetItem(QStringList(strLabel));
    pItem->setData(0, kRecordRole, QVariant::fromValue<void*>(pPage));
    pItem->setData(0, kIsCardRole, false);
    pItem->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    pItem->setCheckState(0, Qt::Unchecked);
    pCardItem->addChild(pItem);
    return pItem;
}

void CDlgLeft::Rebuild()
{
    QTreeWidget* pTree = m_pUi->treeProject;
    QTreeWidgetItem* pLastCard = nullptr;
    QTreeWidgetItem* pLastPage = nullptr;
    for (CGsmCard* pCard : std::as_const(g_cardList))
    {
        Q_ASSERT(pCard);
        if (!pCard)
            continue;
        pLastCard = InsertCardItem(pCard);
        SetItemChecked(pLastCard, pCard->IsChecked());
        for (CGsmPage* pPage : pCard->GetPageList())
        {
            Q_ASSERT(pPage);
            if (!pPage)
                continue;
            pLastPage = InsertPageItem(pLastCard, pPage, pPage->GetCaption());
            SetItemChecked(pLastPage, pPage->IsChecked());
        }
    }
    if (pLastCard)
        pTree->setCurrentItem(pLastCard);
    if (pLastPage)
        pTree->setCurrentItem(pLastPage);
}

void CDlgLeft::AddCard()
{
    auto* pCard = new CGsmCard();
    g_cardList.append(pCard);
    QTreeWidgetItem* pItem = InsertCardItem(pCard);
    m_pUi->treeProject->setCurrentItem(pItem);
    if (pCard->IsChecked())
        SetItemChecked(pItem, true);
}

void CDlgLeft::AddText()
{
    QTreeWidgetItem* pCardItem = CardItemOf(m_pUi->treeProject->currentItem());
    if (!pCardItem)
        return;
    CGsmCard* pCard = CardOf(pCardItem);
    Q_ASSERT(pCard);
    if (!pCard)
        return;
    auto* pPage = new CGsmPage(pCard);
    pCard->AddPage(pPage);
    QTreeWidgetItem* pItem = InsertPageItem(pCardItem, pPage, pPage->GetName());
    m_pUi->treeProject->setCurrentItem(pItem);
    if (pPage->IsChecked())
        SetItemChecked(pItem, true);
}

void CDlgLeft::DeleteItem()
{
    QTreeWidget* pTree = m_pUi->treeProject;
    QTreeWidgetItem* pItem = pTree->currentItem();
    if (!pItem)
        return;

    // The item leaves the tree first: the tree selects another item and
    // reports it before the record is destroyed, so nothing that follows the
    // selection (the current card, the editor) points at a freed record.
    if (QTreeWidgetItem* pCardItem = pItem->parent())
    {
        CGsmCard* pCard = CardOf(pCardItem);
        CGsmPage* pPage = PageOf(pItem);
        Q_ASSERT(pCard && pPage);
        delete pItem;
        if (pCard && pPage)
            pCard->RemovePage(pPage);
        return;
    }

    // The last card stays.
    if (g_cardList.size() < 2)
        return;
    CGsmCard* pCard = CardOf(pItem);
    Q_ASSERT(pCard);
    while (QTreeWidgetItem* pChild = pItem->child(0))
    {
        CGsmPage* pPage = PageOf(pChild);
        delete pChild;
        if (pCard && pPage)
            pCard->RemovePage(pPage);
    }
    delete pItem;
    RemoveCard(pCard);
}

void CDlgLeft::MoveUp()
{
    MoveSelected(-1);
}

void CDlgLeft::MoveDown()
{
    MoveSelected(+1);
}

void CDlgLeft::MoveSelected(int nStep)
{
    QTreeWidget* pTree = m_pUi->treeProject;
    QTreeWidgetItem* pItem = pTree->currentItem();
    if (!pItem || !pItem->parent())
        return;
    QTreeWidgetItem* pCardItem = pItem->parent();
    const int nFrom = pCardItem->indexOfChild(pItem);
    const int nTo = nFrom + nStep;
    if (nTo < 0 || nTo >= pCardItem->childCount())
        return;

    // The message moves in the card's own list as well, with its label and
    // its check box, so the tree, send, export and the project file agree.
    CGsmCard* pCard = CardOf(pCardItem);
    CGsmPage* pPage = PageOf(pItem);
    if (pCard && pPage)
    {
        QList<CGsmPage*>& pages = pCard->GetPageList();
        const qsizetype nListFrom = pages.indexOf(pPage);
        const qsizetype nListTo = pages.indexOf(PageOf(pCardItem->child(nTo)));
        if (nListFrom >= 0 && nListTo >= 0)
            pages.move(nListFrom, nListTo);
    }
    {
        CUpdating guard(m_nUpdating);
        const bool bBlocked = pTree->blockSignals(true);
        pCardItem->takeChild(nFrom);
        pCardItem->insertChild(nTo, pItem);
        pTree->blockSignals(bBlocked);
    }
    // The moved message stays selected and is reported again: the editor
    // numbers its preview by the message's new place.
    if (pTree->currentItem() == pItem)
        OnCurrentItemChanged(pItem);
    else
        pTree->setCurrentItem(pItem);
}

void CDlgLeft::RefreshItemLabel()
{
    QTreeWidgetItem* pItem = m_pUi->treeProject->currentItem();
    CGsmPage* pPage = PageOf(pItem);
    Q_ASSERT(!pItem || pPage);
    if (!pPage)
        return;
    CUpdating guard(m_nUpdating);
    pItem->setText(0, pPage->GetCaption());
}

int CDlgLeft::CountCommandsBefore(const CGsmPage* pPage) const
{
    QTreeWidgetItem* pCardItem = CardItemOf(m_pUi->treeProject->currentItem());
    if (!pCardItem || !pPage)
        return 0;
    int nCount = 0;
    for (int i = 0; i < pCardItem->childCount(); ++i)
    {
        const CGsmPage* pChild = PageOf(pCardItem->child(i));
        Q_ASSERT(pChild);
        if (pChild == pPage)
            break;
        if (pChild)
            nCount += int(pChild->GetCommands().size());
    }
    return nCount;
}

void CDlgLeft::OnCurrentItemChanged(QTreeWidgetItem* pCurrent)
{
    if (!pCurrent)
    {
        // The tree lost its selection (its last item went): nothing may keep
        // showing a record that is about to go.
        emit treeSelected(NoSelection, nullptr, nullptr);
        return;
    }
    QTreeWidget* pTree = m_pUi->treeProject;
    // One card open at a time: the selected item's card opens, the others
    // close.
    QTreeWidgetItem* pCardItem = CardItemOf(pCurrent);
    for (int i = 0; i < pTree->topLevelItemCount(); ++i)
    {
        QTreeWidgetItem* pTop = pTree->topLevelItem(i);
        pTop->setExpanded(pTop == pCardItem);
    }
    if (pCurrent->parent())
        emit treeSelected(MessageItem, CardOf(pCardItem), PageOf(pCurrent));
    else
        emit treeSelected(CardItem, CardOf(pCurrent), nullptr);
}

void CDlgLeft::OnItemChanged(QTreeWidgetItem* pItem)
{
    if (m_nUpdating || !pItem)
        return;

    const bool bChecked = pItem->checkState(0) == Qt::Checked;
    if (CGsmPage* pPage = PageOf(pItem))
    {
        // A message's box changes that message only.
        if (bool(pPage->IsChecked()) != bChecked)
        {
            pPage->SetChecked(bChecked ? 1 : 0);
            m_pUi->treeProject->setCurrentItem(pItem);
        }
        return;
    }

    CGsmCard* pCard = CardOf(pItem);
    if (!pCard)
        return;
    if (bool(pCard->IsChecked()) != bChecked)
    {
        // A card's box carries all its messages with it.
        pCard->SetChecked(bChecked ? 1 : 0);
        for (int i = 0; i < pItem->childCount(); ++i)
        {
            QTreeWidgetItem* pChild = pItem->child(i);
            if (CGsmPage* pPage = PageOf(pChild))
                pPage->SetChecked(bChecked ? 1 : 0);
            SetItemChecked(pChild, bChecked);
        }
        m_pUi->treeProject->setCurrentItem(pItem);
        return;
    }

    // Not the box: the label was edited. Only card labels can be; an empty
    // name is taken as it is.
    if (pCard->GetName() != pItem->text(0))
        pCard->SetName(pItem->text(0));
}
