// Saving and loading a large project, against a bare parse and write of the
// same file by the XML library, so the cost of the element-by-element layer
// and of building the model shows as a ratio independent of the machine.
//
// Usage: bench_project [cards] [messages per card] [rounds]
#include "ObjectData/DivObj.h"
#include "ObjectData/Global.h"
#include "ObjectData/GsmCard.h"
#include "ObjectData/GsmPage.h"
#include "ObjectData/ProjectFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{
void BuildProject(int nCards, int nPages)
{
    RemoveAllCards();
    for (int c = 0; c < nCards; ++c)
    {
        auto* pCard = new CGsmCard;
        g_cardList.append(pCard);
        pCard->SetWidth(128);
        pCard->SetScanMode(c % 12);
        pCard->SetBindPhones(QStringLiteral("+8613800000000|+8613900000000|"));
        pCard->SetDtuPhones(QStringLiteral("13800000001|13800000002"));
        auto* pZone = new CDivObj;
        pZone->SetX(64);
        pCard->AddZone(pZone);
        for (int p = 0; p < nPages; ++p)
        {
            auto* pPage = new CGsmPage(pCard);
            pPage->SetEffect(p % 45);
            pPage->SetZone(p % 2);
            pPage->SetContent(
                QStringLiteral("欢迎光临 Welcome %1-%2, open 9:00-18:00").arg(c).arg(p));
            pPage->UpdateCaption();
            pCard->AddPage(pPage);
        }
    }
}

// The best of several rounds, in milliseconds: the least disturbed run.
double Best(int nRounds, const std::function<void()>& fn)
{
    double best = 1e300;
    for (int i = 0; i < nRounds; ++i)
    {
        QElapsedTimer timer;
        timer.start();
        fn();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int nCards = args.size() > 1 ? args[1].toInt() : 1000;
    const int nPages = args.size() > 2 ? args[2].toInt() : 20;
    const int nRounds = args.size() > 3 ? args[3].toInt() : 5;

    QTemporaryDir dir;
    const QString strPath = DefaultProjectPath(dir.path());
    const QString strBare = dir.filePath(QStringLiteral("bare.xml"));
    const QByteArray path = strPath.toLocal8Bit();
    const QByteArray bare = strBare.toLocal8Bit();

    BuildProject(nCards, nPages);
    bool bOk = true;
    const double save = Best(nRounds, [&] { bOk = SaveProject(strPath, nullptr) && bOk; });
    const double load =
        Best(nRounds, [&] { bOk = LoadProject(strPath).eStatus == KxProjectLoad::Loaded && bOk; });
    bOk = bOk && g_cardList.size() == nCards && g_cardList.last()->GetPageCount() == nPages;

    // What loading costs without any XML: the previous project freed and the
    // same cards and messages created again.
    const double model = Best(nRounds, [&] { BuildProject(nCards, nPages); });

    pugi::xml_document doc;
    const double parse = Best(nRounds, [&] { bOk = doc.load_file(path.constData()) && bOk; });
    const double write = Best(nRounds, [&] { bOk = doc.save_file(bare.constData()) && bOk; });
    RemoveAllCards();
    if (!bOk)
    {
        std::fprintf(stderr, "bench_project: a save or load failed\n");
        return 1;
    }

    std::printf("project of %d cards x %d messages, %.1f MB, best of %d rounds\n", nCards, nPages,
                double(QFileInfo(strPath).size()) / 1e6, nRounds);
    std::printf("  SaveProject   %8.1f ms   bare pugixml write %8.1f ms   ratio %5.1f\n", save,
                write, save / write);
    std::printf("  LoadProject   %8.1f ms   bare pugixml parse %8.1f ms   ratio %5.1f\n", load,
                parse, load / parse);
    std::printf("  of which the model alone (free + create the objects) %.1f ms, ratio %.1f\n",
                model, model / parse);
    return 0;
}
