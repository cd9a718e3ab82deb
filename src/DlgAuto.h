#pragma once

#include <QDialog>

#include <memory>

class CSpinButton;
class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;

namespace Ui
{
class CDlgAuto;
}

// The timed settings dialog: edits one of the current card's two schedules,
// four periods each. OK writes the rows into the card; Cancel leaves it as
// it was.
class CDlgAuto : public QDialog
{
    Q_OBJECT

public:
    enum Kind
    {
        Brightness = 0,
        Power = 1
    };
    static const int kRows = 4;

    explicit CDlgAuto(int nKind, QWidget* pParent = nullptr);
    ~CDlgAuto() override;

    int GetKind() const { return m_nKind; }

public slots:
    void accept() override;

private:
    struct Row
    {
        QCheckBox* pEnabled;
        QLineEdit* pStart;
        QLineEdit* pEnd;
        QLineEdit* pLevel;
        CSpinButton* pStartSpin;
        CSpinButton* pEndSpin;
        CSpinButton* pLevelSpin;
        QDateTimeEdit* pFrom;
        QDateTimeEdit* pTo;
        QLabel* pSeparator;
    };

    void LoadRows();
    void ShowKind();
    void StoreRows();

    std::unique_ptr<Ui::CDlgAuto> m_pUi;
    const int m_nKind;
    Row m_rows[kRows] = {};
};
