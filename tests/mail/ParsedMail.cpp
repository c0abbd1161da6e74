#include "ParsedMail.h"

#include <gmime/gmime.h>
#include <strings.h>

#include <mutex>

namespace pesterly::testing {

bool ParsedMail::HasHeader(const std::string& name) const {
    for (const std::string& header : header_names) {
        if (strcasecmp(header.c_str(), name.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

ParsedMail ParseMail(const std::string& raw) {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
    ParsedMail mail;
    size_t end = raw.find("\r\n\r\n");
    if (end == std::string::npos) {
        end = raw.find("\n\n");
    }
    mail.raw_headers = raw.substr(0, end);

    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(raw.data(), raw.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (message == nullptr) {
        return mail;
    }
    if (const char* subject = g_mime_message_get_subject(message)) {
        mail.subject = subject;
    }
    char* to = internet_address_list_to_string(g_mime_message_get_to(message), nullptr, FALSE);
    if (to != nullptr) {
        mail.to = to;
        g_free(to);
    }
    GMimeHeaderList* headers = g_mime_object_get_header_list(GMIME_OBJECT(message));
    for (int i = 0; i < g_mime_header_list_get_count(headers); ++i) {
        mail.header_names.push_back(
            g_mime_header_get_name(g_mime_header_list_get_header_at(headers, i)));
    }
    GMimeObject* body = g_mime_message_get_mime_part(message);
    if (body != nullptr && GMIME_IS_TEXT_PART(body)) {
        GMimeTextPart* part = GMIME_TEXT_PART(body);
        if (const char* charset = g_mime_text_part_get_charset(part)) {
            mail.charset = charset;
        }
        const char* encoding =
            g_mime_content_encoding_to_string(g_mime_part_get_content_encoding(GMIME_PART(part)));
        mail.encoding = encoding != nullptr ? encoding : "";
        // Decode the transfer encoding only, so that the bytes are compared as sent.
        GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(part));
        GMimeStream* decoded = g_mime_stream_mem_new();
        g_mime_data_wrapper_write_to_stream(content, decoded);
        GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(decoded));
        const std::string text(reinterpret_cast<const char*>(bytes->data), bytes->len);
        // Line ends as the reader's platform has them.
        for (size_t i = 0; i < text.size(); ++i) {
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
                mail.text += text[i];
            }
        }
        g_object_unref(decoded);
        mail.ok = true;
    }
    g_object_unref(message);
    return mail;
}

}  // namespace pesterly::testing
