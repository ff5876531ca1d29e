#include "dialect_msg.h"

#include <cwchar>
#include <string>

#include "source_form_selector.h"

namespace {

// Applesoft keywords that the UK-101 dialect does not have, in code-point
// order: the pruning merges them with the message's list, which is sorted the
// same way. This is dialect data, not derived from the keyword grammars.
const wchar_t* const nonUK101[] = {
    L"AT",     L"CALL",  L"COLOR", L"DEL",  L"DRAW",  L"FLASH",  L"GET",    L"GR",      L"HCOLOR",
    L"HGR",    L"HGR2",  L"HIMEM", L"HLIN", L"HPLOT", L"HTAB",   L"IN#",    L"INVERSE", L"LOMEM",
    L"NORMAL", L"PDL",   L"PLOT",  L"POP",  L"PR#",   L"RECALL", L"RESUME", L"ROT",     L"SCALE",
    L"SCRN",   L"SPEED", L"STORE", L"TAB",  L"TRACE", L"VLIN",   L"VTAB",   L"XDRAW"};
const int k35 = sizeof nonUK101 / sizeof nonUK101[0];

// The pruned message; each call overwrites the previous result.
std::wstring buff;

bool is_quote(wchar_t c) {
    return c == L'"' || c == L'\'';
}

// Appends msg[from, to) to buff. While nothing but the text up to the list
// start s is in buff (every item so far was removed), a stretch that begins
// with "," loses it and the blanks after it: the next item becomes the head.
void append_stretch(const std::wstring& msg, std::size_t from, std::size_t to, std::size_t s) {
    if (from < to && buff.size() == s && msg[from] == L',') {
        ++from;
        while (from < to && msg[from] == L' ')
            ++from;
        // That separator may be ", or ": it goes whole.
        if (from + 2 < to && msg.compare(from, 3, L"or ") == 0) {
            from += 3;
            while (from < to && msg[from] == L' ')
                ++from;
        }
    }
    if (from < to)
        buff.append(msg, from, to - from);
}

} // namespace

const wchar_t* dialect_msg(int dialect, const wchar_t* msg) {
    if (dialect != uk101_form || !msg)
        return msg;
    const wchar_t* found = std::wcsstr(msg, L"Expected");
    if (!found)
        return msg;
    const std::wstring text(msg);
    const std::size_t e = static_cast<std::size_t>(found - msg);
    std::size_t s;
    if (e + 9 < text.size() && text[e + 9] == L':')
        s = e + 10;
    else if (e + 10 < text.size() && text[e + 9] == L' ' && text[e + 10] == L':')
        s = e + 11;
    else
        return msg;

    buff.clear();
    std::size_t i = s;
    std::size_t next_copy = 0; // c + 1: where the text after the last removed item begins
    int t = 0;
    const std::size_t n = text.size();
    while (i < n) {
        while (i < n && !is_quote(text[i]))
            ++i;
        if (i >= n)
            break;
        const std::size_t q1 = i;
        if (q1 + 1 >= n || text[q1 + 1] < L'A' || text[q1 + 1] > L'Z') {
            i = q1 + 1;
            continue;
        }
        i = q1 + 1;
        while (i < n && !is_quote(text[i]))
            ++i;
        if (i >= n)
            break;
        const std::size_t q2 = i;
        const std::wstring key = text.substr(q1 + 1, q2 - q1 - 1);
        while (t < k35 && key.compare(nonUK101[t]) > 0)
            ++t;
        if (t >= k35 || key.compare(nonUK101[t]) < 0) {
            i = q2 + 1;
            continue;
        }
        // Remove the item with the separator before it.
        std::size_t r = q1;
        while (r > 0 && text[r - 1] == L' ')
            --r;
        if (r >= 3 && text[r - 1] == L'r' && text[r - 2] == L'o' && text[r - 3] == L' ') {
            // The last item of a list goes with its ", or ". Nothing else
            // changes: a message can hold more than one list (the user's
            // text may read like one), and no list is rewritten.
            std::size_t p = r - 2;
            while (p > 0 && text[p - 1] == L' ')
                --p;
            if (p > 0 && text[p - 1] == L',')
                r = p - 1;
        } else if (r > 0 && text[r - 1] == L',') {
            --r;
        }
        if (r > next_copy)
            append_stretch(text, next_copy, r, s);
        next_copy = q2 + 1;
        i = q2 + 1;
    }
    append_stretch(text, next_copy, n, s);
    return buff.c_str();
}
