#pragma once
// The HTML reader: characters with line ends and tabs normalised and comments removed,
// then symbols (tags with their attributes, runs of text, end of text) for the document
// builder. One reader parses one document at a time; the builder owns it for the parse.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "html/Attributes.h"
#include "html/Symbols.h"
#include "html/Token.h"
#include "platform/Errors.h"
#include "platform/StringList.h"

class TIDNameList;

class EParseError : public platform::Exception {
  public:
    using Exception::Exception;
};

// Include comments <!--#command name=value ...--> ask the host for text to read in
// their place; an empty result leaves nothing.
using TIncludeEvent = std::function<void(
    const std::string& command, const platform::StringList& params, std::string& includeText)>;

// What preparing the text found out about its encoding; the builder sets the base
// properties from it.
enum class TPreparedEncoding {
    AsWritten,      // read in the code page of the properties
    Utf8ByteOrder,  // began with the UTF-8 byte-order mark (skipped)
    ShiftJis,       // was ISO-2022-JP and is now Shift_JIS
};

class THtmlReader {
  public:
    static constexpr unsigned char EofChar = 26;

    THtmlReader();

    // Takes the text of a document: cut at its first NUL, byte-order mark skipped,
    // ISO-2022-JP turned into Shift_JIS. Then ResetReadPosition.
    TPreparedEncoding PrepareDocument(std::string text);
    // Back to the first character (the pre-scan reads the document twice).
    void ResetReadPosition();
    const std::string& DocumentText() const { return document_; }

    // Character level.
    unsigned char ReadRawChar();
    unsigned char PeekRawChar() const;
    void ReadChar();
    void NextChar() {
        ReadChar();
        if (UpperChar == '<') OpenMarkup();
    }
    void SkipBlanks();

    // Symbol level.
    void NextSymbol();
    // At '&': one or more character references decoded into bytes of `codePage`.
    std::string ReadEntityToString(int codePage);

    // The font character set a charset name stands for. EUC-JP also converts the rest of
    // the document to Shift_JIS (once per document).
    bool CharsetFromName(std::string_view name, int& charset);

    // The state the builder reads.
    unsigned char CurChar = ' ';
    unsigned char UpperChar = ' ';
    std::int32_t CharPos = -1;  // of the current character in the document text
    THtmlSymbol Sy = symEof;    // the current symbol
    int HeadingLevel = 0;
    std::int32_t TagPos = 0;  // of the '<' of the last tag
    TAttributeList Attributes;
    TokenObj Token;

    bool NoCommentMode = false;  // "<!" is plain text (text documents, script bodies)
    bool PreScan = false;        // no progress and no anchors
    bool Converted = false;      // the text is Shift_JIS made by us

    // Hooks set by the builder. The code page of the current element's properties
    // (Windows-1252 when unset); the include event; progress as
    // offset * ProgressBase / length every 4096 bytes; the anchor list that ID
    // attributes join.
    std::function<int()> CurrentCodePage;
    TIncludeEvent OnInclude;
    std::function<void(int)> OnProgress;
    int ProgressBase = 0;
    TIDNameList* Anchors = nullptr;

  private:
    struct Reference;

    int CodePage() const;
    unsigned char ReadRawCharSlow();
    // At a '<': reads past any comments that start here (or include comments).
    void OpenMarkup();
    void SkipCommentBody(bool fromCurrent);
    void ReadInclude();
    void ReadTag();
    bool ReadAttribute();
    void ReadText();
    void TakePlainRun(TCharCollection& collection);
    Reference ReadReference();
    void AddReferenceToText(const Reference& ref, TCharCollection& collection, int codePage);
    void ReportProgress();

    std::string document_;
    std::size_t start_ = 0;     // after a byte-order mark
    std::size_t position_ = 0;  // read pointer into document_
    std::string include_;
    std::size_t includePosition_ = 0;
    bool inInclude_ = false;
    int lineEnd_ = 0;  // 0 none, 1 last raw byte CR, 2 LF
    bool inComment_ = false;
    TCharCollection collection_;
};

// The character level runs for every byte of a page: the common cases are inline.
inline unsigned char THtmlReader::ReadRawChar() {
    if (inInclude_ || position_ >= document_.size()) return ReadRawCharSlow();
    const auto c = static_cast<unsigned char>(document_[position_++]);
    ++CharPos;
    if ((position_ & 4095) == 0) ReportProgress();
    return c;
}

inline void THtmlReader::ReadChar() {
    unsigned char c = ReadRawChar();
    if ((c == '\n' && lineEnd_ == 1) || (c == '\r' && lineEnd_ == 2)) c = ReadRawChar();
    if (c == '\n') {
        c = '\r';
        lineEnd_ = 2;
    } else if (c == '\r') {
        lineEnd_ = 1;
    } else {
        lineEnd_ = 0;
        if (c == '\t') c = ' ';
        if (c == EofChar && inComment_) throw EParseError("Open Comment at End of HTML File");
    }
    CurChar = c;
    UpperChar = c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}

// Round-half-even reading of a decimal number ("50", "-3.5", "1e2"); false when the
// whole text is not one. Results outside 32 bits are clamped.
bool ReadDecimalNumber(std::string_view text, std::int32_t& value);
