#include "SimVocabulary.h"

#include "ObjectData/Vocabulary.h"

#include <algorithm>

// The programs carry one command set each; the card understands both. The
// words come from the programs' own vocabulary source, compiled here once
// for each set inside its own namespace, so the simulator can never drift
// from what the programs send.
namespace cn
{
#undef KX_COMMAND_SET_EN
#include "ObjectData/Vocabulary.cpp"
#include "SimVocabularySet.inc"
} // namespace cn

namespace en
{
#define KX_COMMAND_SET_EN
#include "ObjectData/Vocabulary.cpp"
#include "SimVocabularySet.inc"
#undef KX_COMMAND_SET_EN
} // namespace en

namespace
{
SimCommandSet Sorted(SimCommandSet set)
{
    std::stable_sort(set.keywords.begin(), set.keywords.end(),
                     [](const SimKeyword& a, const SimKeyword& b)
                     { return a.strWord.size() > b.strWord.size(); });
    return set;
}
} // namespace

const QList<SimCommandSet>& SimCommandSets()
{
    static const QList<SimCommandSet> s_sets = {Sorted(cn::MakeCommandSet()),
                                                Sorted(en::MakeCommandSet())};
    return s_sets;
}
