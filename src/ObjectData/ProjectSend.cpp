#include "ObjectData/ProjectSend.h"

#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "Pub/KxSendProgress.h"

#include <algorithm>

bool SendCheckedCards(const QList<CGsmCard*>& cards)
{
    const int nCards = int(std::count_if(cards.begin(), cards.end(),
                                         [](const CGsmCard* c) { return c && c->IsChecked(); }));
    bool bOk = true;
    int nCard = 0;
    for (CGsmCard* pCard : cards)
    {
        if (!pCard || !pCard->IsChecked())
            continue;
        KxSetSendCard(++nCard, nCards);
        FreeCommandList();
        for (const CGsmPage* pPage : pCard->GetPageList())
        {
            if (pPage && pPage->IsChecked())
                pPage->BuildCommands(&g_cmdList, int(g_cmdList.size()));
        }
        if (!pCard->SendCommandList(&g_cmdList))
        {
            bOk = false;
            break;
        }
    }
    KxSetSendCard(0, 0);
    return bOk;
}
