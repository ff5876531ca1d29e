#ifndef I_SCANNER_H
#define I_SCANNER_H

#include <string>

namespace capi {
namespace interfaces {

// The abstract source of tokens: an id with its wide text. Every stage of the
// pipeline implements it and pulls from the stage before it.
class _I_Scanner {
public:
    bool _upper;
    bool _lower;

    _I_Scanner() : _upper(false), _lower(false) { _I_Scanner::setCaseSensitive(); }
    virtual ~_I_Scanner() {}

    // Returns the next token's id and replaces *text with its text. Callers
    // test eof() first.
    virtual int next(std::wstring* text) = 0;
    virtual bool eof() = 0;
    virtual bool available() = 0;
    virtual std::wstring& source() = 0;
    virtual int line() = 0;
    // The order-th alternative id (from 1) of the last token, or -1.
    virtual int equivalent(int order) = 0;
    virtual int shorter_match() { return -1; }
    // A shorter reading of the rejected token, its text written into the
    // caller's text string; -1 when there is none.
    virtual int shorter_match(int returned_id) {
        (void)returned_id;
        return -1;
    }
    virtual int sma_rollback(int savepoint) {
        (void)savepoint;
        return -1;
    }
    virtual int sma_savepoint() { return -1; }
    virtual bool isUpper() { return _upper; }
    virtual bool isLower() { return _lower; }
    virtual bool isCaseSensitive() { return _upper && _lower; }
    virtual void setUpper() {
        _upper = true;
        _lower = false;
    }
    virtual void setLower() {
        _upper = false;
        _lower = true;
    }
    virtual void setCaseSensitive() {
        _upper = false;
        _lower = false;
    }
    // Folds a character by the source's case mode. Only the ASCII letters
    // change: ids above 0x7F carry keyword codes and must never move.
    virtual wchar_t Case(wchar_t ch) {
        if (_upper && ch >= L'a' && ch <= L'z')
            return static_cast<wchar_t>(ch - L'a' + L'A');
        if (!_upper && _lower && ch >= L'A' && ch <= L'Z')
            return static_cast<wchar_t>(ch - L'A' + L'a');
        return ch;
    }
};

} // namespace interfaces
} // namespace capi

#endif
