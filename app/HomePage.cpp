#include "app/HomePage.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include "platform/CodePage.h"

namespace app {

namespace {

// Puts `value` where the marker first stands, then deletes the marker where it now
// first stands: the net effect replaces the first marker.
void ReplaceFirst(std::string& text, const std::string& marker, const std::string& value) {
    const auto at = text.find(marker);
    if (at == std::string::npos) return;
    text.insert(at, value);
    const auto again = text.find(marker);
    if (again != std::string::npos) text.erase(again, marker.size());
}

std::string ToAnsi(const QString& text) {
    return platform::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                   static_cast<std::size_t>(text.size())),
                               platform::CP_ACP);
}

}  // namespace

std::string FillHomePageMarkers(std::string text, const std::string& date,
                                const std::function<std::string()>& currentTime) {
    ReplaceFirst(text, "##DATA", date);
    if (text.find("##HORA") != std::string::npos) ReplaceFirst(text, "##HORA", currentTime());
    if (text.find("##HORA") != std::string::npos) ReplaceFirst(text, "##HORA", currentTime());
    return text;
}

std::string CurrentShortDate() {
    const QLocale locale = QLocale::system();
    return ToAnsi(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
}

std::string CurrentLongTime() {
    // The locale's long time format, without the time zone it may carry.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    QString plain;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (!quoted && c == u't') continue;
        plain += c;
    }
    return ToAnsi(QTime::currentTime().toString(plain.trimmed()));
}

}  // namespace app
