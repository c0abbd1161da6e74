#include "platform/ShownText.h"

#include <QCoreApplication>

namespace pesterly {

QString Shown(const Text& text) {
    if (text.context == nullptr && text.fillings.empty()) {
        return QString::fromStdString(text.words);
    }
    std::vector<std::string> fillings;
    fillings.reserve(text.fillings.size());
    for (const Text& filling : text.fillings) {
        fillings.push_back(Shown(filling).toStdString());
    }
    if (text.context == nullptr) {
        return QString::fromStdString(JoinParts(fillings, text.words));
    }
    const QString translated = QCoreApplication::translate(text.context, text.words.c_str());
    return QString::fromStdString(FillPlaces(translated.toStdString(), fillings));
}

QString Shown(const Error& error) {
    return Shown(Reason(error));
}

}  // namespace pesterly
