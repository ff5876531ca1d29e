#ifndef PARSING_FSAPARSER_H
#define PARSING_FSAPARSER_H

#include <deque>
#include <exception>
#include <string>

#include "FSAParsingTable.h"
#include "FSAProxy.h"
#include "ParseAction.h"
#include "ParseError.h"
#include "_I_Scanner.h"
#include "p_entry.h"

namespace parsing {

class FSAState;

// The driver of the FSA engine: takes tokens from a scanner, feeds them one
// per step to the FSAState it owns, answers the engine's look-ahead from a
// buffer of tokens read ahead, keeps the error list and recovers from a
// failed step in panic mode. Token indexes (`step`) count from 0 for the
// first token, in step with the engine's own step number.
class FSAParser : public FSAProxy {
public:
    bool _semCheck;
    bool _BottomUp;
    bool _TopDown;
    bool _BottomUp2;
    // Tokens read ahead, nearest first: entry i is the token with index
    // step + 1 + i. The texts are owned by the buffer. Never the end mark.
    std::deque<int> BufferedT;
    std::deque<std::wstring*> BufferedN;

    FSAParser(capi::interfaces::_I_Scanner& in_scanner, FSAParsingTable& in_PTable,
              void* in_context);
    ~FSAParser() override;

    bool next();
    bool read();
    bool finished() const { return _finished; }
    bool hasErrors() const { return _has_errors; }
    bool successful() const { return finished() && !hasErrors(); }
    int peek(int from_step) override;
    bool available() override;
    int confirm();
    virtual int error(int state, int token);
    void put_error(ParseError& e);
    void put_error(capi::interfaces::_I_Errno& e);
    void put_error(std::exception& e);
    void put_error(int code, const wchar_t* s, int type);

    // Parses the whole input; the number of correct parse trees.
    int parse();
    bool next_step();
    int onParseFinish();
    int onParseError();

    bool parsed();
    FSAState* getState() { return State; }
    void setDebug(bool on);
    void traverseTopDown(int tree, bool keep);
    void traverseBottomUp(int tree, bool keep);
    std::deque<ParseError>& getErrors() { return errors; }

protected:
    bool debug;
    std::wstring pread;
    FSAState* State; // owned
    capi::interfaces::_I_Scanner& scanner;
    std::wstring word;
    FSAParsingTable& ptable;
    bool _finished;
    bool _has_errors;
    bool _get_next;
    ParseAction action;
    int state;
    void* context;
    wchar_t std_msg[32];
    std::deque<p_entry> consumed;
    std::deque<ParseError> errors;
    int token;
    p_entry* Father;
    int step;
    bool swaped_errors;

    virtual void CharsCase();
    void onParse();
    void reset();
    void clear();
    bool getFromBuffered();
    bool do_buffer(int forward);
    int bufferedT(int requested);
    int BufferedElements() const { return static_cast<int>(BufferedT.size()); }
    bool swapFSAStateErrors();
    bool ErrorRecovery();
    bool PanicModeRecovery(bool swaped_errors);
    bool actions(const int& t, const std::wstring& w);
    void clear_queue();

private:
    FSAParser(const FSAParser&) = delete;
    FSAParser& operator=(const FSAParser&) = delete;
};

} // namespace parsing

#endif
