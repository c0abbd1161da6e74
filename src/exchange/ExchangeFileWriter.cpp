#include "exchange/ExchangeFile.h"

#include <cstdio>

#include "store/TextEncoding.h"

namespace pesterly {
namespace {

std::string DateField(DateValue value) {
    char text[64];
    if (value.Days() != 0) {
        const DateValue time = value.TimePart();
        if (time.Seconds() == 0) {
            std::snprintf(text, sizeof text, "#%04lld-%02d-%02d#",
                          static_cast<long long>(value.Year()), value.Month(), value.Day());
        } else {
            std::snprintf(text, sizeof text, "#%04lld-%02d-%02d %02d:%02d:%02d#",
                          static_cast<long long>(value.Year()), value.Month(), value.Day(),
                          value.Hour(), value.Minute(), value.Second());
        }
    } else {
        std::snprintf(text, sizeof text, "#%02d:%02d:%02d#", value.Hour(), value.Minute(),
                      value.Second());
    }
    return text;
}

std::string QuotedField(std::string_view text) {
    // The readers of the settings file and of exchange files hand on UTF-8 only. Should a text
    // that is not UTF-8 reach here all the same, it is taken as Windows-1252, as the reader
    // would, so that one such text cannot turn the whole file into something read differently.
    const std::string utf8 = encoding::AsUtf8(text);
    std::string field = "\"";
    for (const char c : utf8) {
        field += c;
        if (c == '"') {
            field += '"';
        }
    }
    field += '"';
    return field;
}

std::string TruthField(bool value) {
    return value ? "#TRUE#" : "#FALSE#";
}

}  // namespace

std::string WriteExchangeFile(const std::vector<Happening>& records) {
    std::string file = std::to_string(records.size()) + "\r\n";
    for (const Happening& event : records) {
        file += DateField(event.EventDate);
        file += ',' + std::to_string(event.Repeat);
        file += ',' + QuotedField(event.Desc);
        file += ',' + DateField(event.DoneDate);
        file += ',' + TruthField(event.SendMail);
        file += ',' + QuotedField(event.SpecialEmail);
        file += ',' + std::to_string(event.Category);
        file += ',' + QuotedField(event.EmailBody);
        file += "\r\n";
    }
    return file;
}

}  // namespace pesterly
