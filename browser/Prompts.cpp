#include "browser/Prompts.h"

#include "i18n/Translate.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {
// The application's title. Not Qt's display name: set, it would be appended to every
// window title.
QString Title() {
    return QStringLiteral("Brisko");
}
} // namespace

void DesktopPrompts::Information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, Title(), text);
}

void DesktopPrompts::Error(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, Title(), text);
}

bool DesktopPrompts::Confirm(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, Title(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

OverwriteAnswer DesktopPrompts::AskOverwrite(QWidget* parent, const QString& text) {
    const auto answer = QMessageBox::question(parent, Title(), text,
                                              QMessageBox::Yes | QMessageBox::No |
                                                  QMessageBox::YesToAll | QMessageBox::NoToAll,
                                              QMessageBox::No);
    switch (answer) {
    case QMessageBox::Yes:
        return OverwriteAnswer::Yes;
    case QMessageBox::YesToAll:
        return OverwriteAnswer::YesToAll;
    case QMessageBox::NoToAll:
        return OverwriteAnswer::NoToAll;
    default:
        return OverwriteAnswer::No;
    }
}

QString DesktopPrompts::PickFolder(QWidget* parent, const QString& caption, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

QString DesktopPrompts::PickFile(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filters) {
    return QFileDialog::getOpenFileName(parent, caption, start, filters);
}

bool DesktopPrompts::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

std::optional<QString> DesktopPrompts::AskText(QWidget* parent, const QString& caption,
                                               const QString& prompt, const QString& initial) {
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
    return dialog->exec();
}
