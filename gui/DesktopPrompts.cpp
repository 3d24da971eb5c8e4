#include "gui/DesktopPrompts.h"

#include "gui/WorkProgress.h"
#include "i18n/Translate.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

namespace {
// The application's title. Not Qt's display name: set, it would be appended to every
// window title.
QString Title() {
    return QStringLiteral("Brisko");
}
} // namespace

// Every box below opens inside a ProgressPause: no progress dialog may cover a question
// or report, nor appear over it while it waits.

void DesktopPrompts::Information(QWidget* parent, const QString& text) {
    const ProgressPause pause;
    QMessageBox::information(parent, Title(), text);
}

void DesktopPrompts::Error(QWidget* parent, const QString& text) {
    const ProgressPause pause;
    QMessageBox::critical(parent, Title(), text);
}

bool DesktopPrompts::Confirm(QWidget* parent, const QString& text) {
    const ProgressPause pause;
    return QMessageBox::question(parent, Title(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

OverwriteAnswer DesktopPrompts::AskOverwrite(QWidget* parent, const QString& text) {
    const ProgressPause pause;
    QMessageBox box(QMessageBox::Question, Title(), text, QMessageBox::NoButton, parent);
    // One role for all four keeps them in this order whatever the desktop's button
    // layout; the standard buttons would be sorted Yes, Yes to All, No, No to All.
    struct Choice {
        const char* Text;
        OverwriteAnswer Answer;
    };
    static constexpr Choice Choices[] = {{N_("&Yes"), OverwriteAnswer::Yes},
                                         {N_("&No"), OverwriteAnswer::No},
                                         {N_("N&o to All"), OverwriteAnswer::NoToAll},
                                         {N_("Yes to &All"), OverwriteAnswer::YesToAll}};
    std::vector<std::pair<QAbstractButton*, OverwriteAnswer>> buttons;
    for (const Choice& choice : Choices)
        buttons.emplace_back(box.addButton(Translated(choice.Text), QMessageBox::ActionRole),
                             choice.Answer);
    QAbstractButton* no = buttons[1].first;
    box.setDefaultButton(qobject_cast<QPushButton*>(no));
    box.setEscapeButton(no); // Escape and closing the box count as No
    box.exec();
    for (const auto& [button, answer] : buttons)
        if (box.clickedButton() == button)
            return answer;
    return OverwriteAnswer::No;
}

QString DesktopPrompts::PickFolder(QWidget* parent, const QString& caption, const QString& start) {
    const ProgressPause pause;
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

QString DesktopPrompts::PickFile(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filters) {
    const ProgressPause pause;
    return QFileDialog::getOpenFileName(parent, caption, start, filters);
}

QString DesktopPrompts::PickSaveFile(QWidget* parent, const QString& caption, const QString& start,
                                     const QString& filters, QString* filter) {
    const ProgressPause pause;
    return QFileDialog::getSaveFileName(parent, caption, start, filters, filter);
}

bool DesktopPrompts::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

std::optional<QString> DesktopPrompts::AskText(QWidget* parent, const QString& caption,
                                               const QString& prompt, const QString& initial) {
    const ProgressPause pause;
    QInputDialog box(parent);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(initial);
    box.setOkButtonText(Translated("OK"));
    box.setCancelButtonText(Translated("Cancel"));
    // Descriptions and web addresses are long; the box's own field is short.
    if (auto* field = box.findChild<QLineEdit*>())
        field->setMinimumWidth(400);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

int DesktopPrompts::ExecDialog(QDialog* dialog) {
    const ProgressPause pause;
    return dialog->exec();
}
