#ifndef ERRORSTABLE_H
#define ERRORSTABLE_H

struct error_msg {
    int id;       // error id
    wchar_t* msg; // message text, inside the table's shared buffer
};

// Message texts by error id: rows ascending by id, ids unique.
class ErrorsTable {
public:
    error_msg* table;
    int size;

    explicit ErrorsTable(int size);
    virtual ~ErrorsTable();
    virtual void fill() = 0;

    void append(int id, const wchar_t* msg);
    int posOfKey(const int& id) const;

protected:
    void FixwhenFilled();

private:
    wchar_t* Buffer;
    int bsize;
    int bpos;
    int elements;

    void rebuff(int n);

    ErrorsTable(const ErrorsTable&) = delete;
    ErrorsTable& operator=(const ErrorsTable&) = delete;
};

#endif
