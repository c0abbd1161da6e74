#include "platform/MessageBoxAsker.h"

#include <QMessageBox>

#include "platform/ShownText.h"

namespace pesterly {
namespace {
const QString kTitle = QStringLiteral("Pesterly");
}

Answer MessageBoxAsker::AskYesNoCancel(const std::string& prompt) {
    QMessageBox box(QMessageBox::NoIcon, kTitle, QString::fromStdString(prompt),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::kYes;
        case QMessageBox::No:
            return Answer::kNo;
        default:
            return Answer::kCancel;
    }
}

void MessageBoxAsker::Tell(const std::string& message) {
    QMessageBox box(QMessageBox::NoIcon, kTitle, QString::fromStdString(message), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MessageBoxAsker::Explain(const Text& message) {
    Tell(Shown(message).toStdString());
}

}  // namespace pesterly
