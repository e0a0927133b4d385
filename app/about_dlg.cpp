#include "about_dlg.h"

#include "app_icons.h"
#include "command_ids.h"
#include "dialog_units.h"

#include <QLabel>
#include <QPushButton>

namespace {

// The box's template, in dialog units.
constexpr QSize kDialogSize(297, 201);
constexpr QRect kIconRect(11, 17, 20, 20);
constexpr int kIconPixels = 32;
// A text this many dialog units high holds one line; a higher one wraps.
constexpr int kOneLineHeight = 8;

struct StaticText {
    const char* text;
    QRect rect;
};

QLabel* AddText(QDialog& dialog, const StaticText& item, DialogBaseUnits base) {
    auto* label = new QLabel(QString::fromUtf8(item.text), &dialog);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(item.rect.height() > kOneLineHeight);
    label->setGeometry(DialogUnitsToPixels(item.rect, base));
    return label;
}

QPushButton* AddButton(QDialog& dialog, const char* text, const QRect& rect, DialogBaseUnits base) {
    auto* button = new QPushButton(QString::fromUtf8(text), &dialog);
    // Both buttons are default-style: Enter presses whichever one has the focus.
    button->setAutoDefault(true);
    button->setGeometry(DialogUnitsToPixels(rect, base));
    return button;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Busyscope"));
    setFont(DialogFont());
    const DialogBaseUnits base = BaseUnitsOf(font());
    setFixedSize(DialogUnitsToPixels(QRect(QPoint(0, 0), kDialogSize), base).size());

    // Controls in template order, which is also the tab order.
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(kIconPixels, kIconPixels));
    icon->setGeometry(QRect(DialogUnitsToPixels(kIconRect, base).topLeft(), QSize(kIconPixels, kIconPixels)));

    AddText(*this, {"Busyscope ALPHA Version 0.8.0", {40, 10, 113, 8}}, base);
    m_btnCancel = AddButton(*this, "&Cancel", {236, 160, 27, 14}, base);
    AddText(*this,
            {"Busyscope lets you analyze the write timestamps of files, so you can see patterns of when "
             "you've been busy with your comptuer or projects. ",
             {7, 45, 290, 17}},
            base);
    AddText(*this, {"Interesting places to look include:", {7, 66, 106, 8}}, base);
    AddText(*this,
            {"/My Documents  (or wherever you keep files that you work on and modify yourself)",
             {20, 80, 259, 8}},
            base);
    AddText(*this,
            {"/Windows/Temporary Internet Files  (see when you've been browsing the Web)", {20, 95, 251, 8}},
            base);
    AddText(*this, {"Tips on using Busyscope:", {7, 111, 76, 8}}, base);
    AddText(*this,
            {"You can analyze drives or folders anywhere on your network, but not whole machines.",
             {20, 125, 271, 8}},
            base);
    AddText(*this, {"Try dragging the X and Y axes of the graph with your mouse!", {20, 140, 191, 8}}, base);
    m_btnAnalyze = AddButton(*this, "&Analyze New Folder...", {43, 160, 74, 14}, base);
    AddText(*this, {"ALPHA TEST VERSION - PLEASE DO NOT DISTRIBUTE", {55, 185, 188, 8}}, base);

    setTabOrder(m_btnCancel, m_btnAnalyze);
    m_btnCancel->setFocus();

    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnAnalyze, &QPushButton::clicked, this, &CAboutDlg::OnAnalyzeNewFolder);
}

void CAboutDlg::OnAnalyzeNewFolder() {
    done(ID_FILE_NEWFOLDER);
    if (QWidget* owner = parentWidget())
        QMetaObject::invokeMethod(owner, "OnCommand", Qt::QueuedConnection, Q_ARG(int, ID_FILE_NEWFOLDER));
}
