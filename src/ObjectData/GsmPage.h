#pragma once

#include <QString>
#include <QStringList>

class CGsmCard;

// One message of a card: a plain text, a clock face or a digital clock, with
// the attributes the card needs to show it. The card owns its messages; a
// message keeps the command texts of its last preview build.
class CGsmPage
{
public:
    static const int kMaxCommandLength = 200; // characters of one message command
    static const int kMaxFirstId = 399;       // highest ID a message may start at

    // Takes its defaults; the name counts the card's messages at this moment.
    // The creator appends the message to the card.
    explicit CGsmPage(CGsmCard* pCard);
    virtual ~CGsmPage();
    CGsmPage(const CGsmPage&) = delete;
    CGsmPage& operator=(const CGsmPage&) = delete;

    CGsmCard* GetCard() const { return m_pCard; }

    int GetType() const { return m_nType; }
    void SetType(int n) { m_nType = n; }
    int GetEffect() const { return m_nEffect; }
    void SetEffect(int n) { m_nEffect = n; }
    int GetSpeed() const { return m_nSpeed; }
    void SetSpeed(int n) { m_nSpeed = n; }
    int GetStay() const { return m_nStay; }
    void SetStay(int n) { m_nStay = n; }
    int GetColor() const { return m_nColor; }
    void SetColor(int n) { m_nColor = n; }
    int GetZone() const { return m_nZone; }
    void SetZone(int n) { m_nZone = n; }
    int GetFont() const { return m_nFont; }
    void SetFont(int n) { m_nFont = n; }
    int GetBorder() const { return m_nBorder; }
    void SetBorder(int n) { m_nBorder = n; }
    int IsChecked() const { return m_bChecked; }
    void SetChecked(int b) { m_bChecked = b; }
    const QString& GetTimeFormat() const { return m_strTimeFormat; }
    void SetTimeFormat(const QString& s) { m_strTimeFormat = s; }
    const QString& GetContent() const { return m_strContent; }
    void SetContent(const QString& s) { m_strContent = s; }
    const QString& GetName() const { return m_strName; }
    void SetName(const QString& s) { m_strName = s; }
    const QString& GetCaption() const { return m_strCaption; }
    void SetCaption(const QString& s) { m_strCaption = s; }

    // The tree label: name and the first six characters of the content.
    void UpdateCaption();

    // The command texts of the preview. With bRebuild they are built anew
    // with the ID the main window gives the message (0 without one).
    const QStringList& RefreshCommands(bool bRebuild);
    const QStringList& GetCommands() const { return m_lstCommands; }
    void FreeCommands();

    // Appends this message's commands to *pList, the first with ID nId; a
    // long text takes consecutive IDs. False, with nothing appended, for a
    // null list or an ID outside 0..399.
    bool BuildCommands(QStringList* pList, int nId) const;

    // The eight attribute characters that follow the ID.
    QString AttributeCode() const;
    // The single-character code of effect and border: digits, then "a".."z",
    // then capitals.
    static QChar Code36(int nValue);

private:
    CGsmCard* m_pCard;
    QStringList m_lstCommands;
    int m_nType = 0;
    int m_nEffect = 2;
    int m_nSpeed = 1;
    int m_nStay = 0;
    int m_nColor = 0;
    int m_nZone = 0;
    int m_nFont = 0;
    int m_nBorder = 0;
    QString m_strTimeFormat;
    QString m_strContent;
    QString m_strName;
    QString m_strCaption;
    int m_bChecked = 1;
};
