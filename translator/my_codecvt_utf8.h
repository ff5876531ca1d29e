#ifndef MY_CODECVT_UTF8_H
#define MY_CODECVT_UTF8_H

#include <cwchar>
#include <locale>

// The system's UTF-8 conversion between bytes and 16-bit wide units. Decoding
// never fails: one-, two- and three-byte sequences give their unit exactly, a
// four-byte sequence the low 16 bits of its code point, a byte that cannot
// lead a sequence the unit 0xFF00 | byte, and every byte order mark (EF BB BF)
// is dropped wherever it stands. Encoding writes each unit, taken as unsigned
// 16 bits, as one to three bytes. Only whole sequences are converted: a
// sequence cut by the end of a range is left for the next call (partial).
// The conversion keeps no state between calls.
class my_codecvt_utf8 : public std::codecvt<wchar_t, char, std::mbstate_t> {
public:
    explicit my_codecvt_utf8(std::size_t refs = 0);
    ~my_codecvt_utf8() override;

protected:
    // 0: byte order marks are dropped; nothing changes it.
    int consumed_header;

    result do_out(state_type& state, const intern_type* from, const intern_type* from_end,
                  const intern_type*& from_next, extern_type* to, extern_type* to_end,
                  extern_type*& to_next) const override;
    result do_in(state_type& state, const extern_type* from, const extern_type* from_end,
                 const extern_type*& from_next, intern_type* to, intern_type* to_end,
                 intern_type*& to_next) const override;
    bool do_always_noconv() const noexcept override;
    // The stream buffers size their byte buffers from these three, so they
    // must describe this conversion and not the base's one-byte "C" encoding:
    // variable width, at most four bytes for one unit.
    int do_encoding() const noexcept override;
    int do_length(state_type& state, const extern_type* from, const extern_type* end,
                  std::size_t max) const override;
    int do_max_length() const noexcept override;

private:
    // Decodes the whole sequence at from (all of it before end); the number
    // of bytes it takes, 0 when the sequence runs past end. *unit receives
    // the unit, or -1 for a dropped byte order mark.
    int decode(const unsigned char* from, const unsigned char* end, long* unit) const;
};

#endif
