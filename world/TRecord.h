#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// One saved object as a line of words: numbers written so that they read back exactly (floats
// with nine, doubles with seventeen significant digits), and an optional free text at the end
// (a name, which may hold blanks). Reading is strict: a missing word, a word that is not a whole
// number in range or a finite number marks the record as broken, and every later read fails.
class TRecord {
public:
    TRecord() = default;
    explicit TRecord(std::string text) : text(std::move(text)) {}

    // --- writing ---
    TRecord& AddInt(int64_t value);
    TRecord& AddFloat(float value);
    TRecord& AddDouble(double value);
    // A word without blanks (ids of plugins); blanks are replaced so the record stays readable.
    TRecord& AddWord(std::string_view word);
    // The free text closing the record.
    TRecord& AddRest(std::string_view rest);
    const std::string& Text() const { return text; }

    // --- reading ---
    bool Int(int32_t& value, int32_t lo, int32_t hi);
    bool Float(float& value);
    bool Double(double& value);
    bool Word(std::string& word);
    // Everything after the next blank (possibly empty).
    bool Rest(std::string& rest);
    bool Ok() const { return ok; }
    bool AtEnd() const { return pos >= text.size(); }

private:
    bool _Next(std::string_view& word);
    void _Separate();

    std::string text;
    size_t pos = 0;
    bool ok = true;
};
