#include "Pub/KxSendProgress.h"

namespace
{
struct SendState
{
    KxSendProgressFn fn;
    int nCard = 0;
    int nCards = 0;
};

SendState& State()
{
    static SendState s_state;
    return s_state;
}
} // namespace

KxSendProgressFn KxSetSendProgress(KxSendProgressFn fn)
{
    KxSendProgressFn old = std::move(State().fn);
    State().fn = std::move(fn);
    return old;
}

void KxSetSendCard(int nCard, int nCards)
{
    State().nCard = nCard;
    State().nCards = nCards;
}

void KxReportSendStep(KxSendStep step)
{
    if (!State().fn)
        return;
    step.nCard = State().nCard;
    step.nCards = State().nCards;
    State().fn(step);
}
