#include "frame_dialogs.h"

#include "command_ids.h"
#include "date_range_dialog.h"
#include "git_history_dialog.h"
#include "leave_out_dialog.h"
#include "string_table.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace {

const QString kListFilter = QStringLiteral("Time lists (*.times *.txt);;All files (*)");

QString AppTitle() {
    return LoadResString(AFX_IDS_APP_TITLE);
}

} // namespace

CFrameDialogs::CFrameDialogs()
    : browseForFolder([](QWidget* owner, const QString& prompt) {
          // Qt's own dialog: the same on every desktop, and scriptable.
          return QFileDialog::getExistingDirectory(
              owner, prompt, QString(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
      }),
      openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      chooseOpenFile([](QWidget* owner, const QString& caption) {
          return QFileDialog::getOpenFileName(owner, caption, QString(), kListFilter, nullptr,
                                              QFileDialog::DontUseNativeDialog);
      }),
      chooseSaveFile([](QWidget* owner, const QString& caption) {
          return QFileDialog::getSaveFileName(owner, caption, QString(), kListFilter, nullptr,
                                              QFileDialog::DontUseNativeDialog);
      }),
      askGitHistory([](QWidget* owner, const QString& repository) {
          CGitHistoryDialog dialog(QFile::encodeName(repository).toStdString(), owner);
          return dialog.exec() == QDialog::Accepted ? std::optional(dialog.Options()) : std::nullopt;
      }),
      choosePictureFile([](QWidget* owner, const QString& suggested) {
          return QFileDialog::getSaveFileName(owner, QStringLiteral("Save Picture"), suggested,
                                              QStringLiteral("PNG pictures (*.png)"), nullptr,
                                              QFileDialog::DontUseNativeDialog);
      }),
      showMessage(
          [](QWidget* owner, const QString& text) { QMessageBox::information(owner, AppTitle(), text); }),
      editLeaveOut([](QWidget* owner, const EntryFilter& rules, const std::string& folder) {
          CLeaveOutDialog dialog(rules, folder, owner);
          return dialog.exec() == QDialog::Accepted ? std::optional(dialog.Rules()) : std::nullopt;
      }),
      askYesNo([](QWidget* owner, const QString& question) {
          return QMessageBox::question(owner, AppTitle(), question) == QMessageBox::Yes;
      }),
      askDateRange([](QWidget* owner, const QString& title, const QString& prompt, const DateRange& initial) {
          CDateRangeDialog dialog(title, prompt, initial, owner);
          return dialog.exec() == QDialog::Accepted ? std::optional(dialog.Range()) : std::nullopt;
      }) {}
