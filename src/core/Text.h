// Texts are counted strings of 16-bit characters. A text variable that was
// never set is absent: it reads like the empty text, but reaches the
// platform as a null pointer. Small and freestanding on purpose: the program
// carries no C++ library, and its memory comes from operator new, which
// either gives the memory or ends the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace qrv {

class Str {
public:
    Str() = default;
    Str(const char16_t* s) : Str(s, Length(s)) {}  // NUL-terminated
    Str(const char16_t* s, size_t n) { Append(s, n); }
    Str(const char* ascii) { *this += ascii; }  // NUL-terminated, a character a byte: half the bytes in the image
    Str(size_t n, char16_t c) {
        for (size_t i = 0; i < n; ++i) *this += c;
    }
    Str(const Str& other) : Str(other.c_str(), other.size_) {}
    Str(Str&& other) noexcept : p_(other.p_), size_(other.size_), capacity_(other.capacity_) {
        other.p_ = nullptr;
        other.size_ = other.capacity_ = 0;
    }
    Str& operator=(Str other) noexcept {
        char16_t* p = p_;
        p_ = other.p_;
        other.p_ = p;
        size_ = other.size_;
        capacity_ = other.capacity_;
        return *this;
    }
    ~Str() { delete[] p_; }

    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const char16_t* c_str() const { return p_ ? p_ : u""; }  // always NUL-terminated
    char16_t* data() { return p_; }                          // null while nothing was ever stored
    const char16_t* begin() const { return c_str(); }
    const char16_t* end() const { return c_str() + size_; }
    char16_t operator[](size_t i) const { return p_[i]; }
    char16_t back() const { return p_[size_ - 1]; }

    Str& operator+=(char16_t c) { return Append(&c, 1); }
    Str& operator+=(const Str& s) { return Append(s.c_str(), s.size_); }
    Str& operator+=(const char16_t* s) { return Append(s, Length(s)); }  // NUL-terminated
    Str& operator+=(const char* ascii) {                                 // NUL-terminated, a character a byte
        while (*ascii) *this += static_cast<char16_t>(*ascii++);
        return *this;
    }
    // At most n characters from pos on.
    Str substr(size_t pos, size_t n) const { return Str(c_str() + pos, n < size_ - pos ? n : size_ - pos); }

    static size_t Length(const char16_t* s) {
        size_t n = 0;
        while (s[n]) ++n;
        return n;
    }

private:
    // s may lie in this text's own buffer: the old buffer goes only after the copy.
    Str& Append(const char16_t* s, size_t n) {
        char16_t* p = p_;
        if (size_ + n > capacity_) {
            capacity_ = size_ + n > 2 * capacity_ ? size_ + n : 2 * capacity_;
            p = new char16_t[capacity_ + 1];
            for (size_t i = 0; i < size_; ++i) p[i] = p_[i];
        }
        for (size_t i = 0; i < n; ++i) p[size_ + i] = s[i];
        if (p != p_) delete[] p_;
        p_ = p;
        if (p_) p_[size_ += n] = u'\0';
        return *this;
    }

    char16_t* p_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

inline Str operator+(Str a, const Str& b) { return a += b; }
inline Str operator+(Str a, char16_t c) { return a += c; }
inline Str operator+(Str a, const char16_t* b) { return a += b; }
inline Str operator+(char16_t c, const Str& b) { return Str(&c, 1) += b; }
inline bool operator==(const Str& a, const Str& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

class Text {
public:
    Text() = default;
    Text(Str s) : present_(true), value_(static_cast<Str&&>(s)) {}
    Text(const char16_t* s) : Text(Str(s)) {}
    explicit operator bool() const { return present_; }
    const Str& operator*() const { return value_; }
    // Appends to the text, which is present from then on.
    void Append(char16_t c) {
        present_ = true;
        value_ += c;
    }

private:
    bool present_ = false;
    Str value_;
};

// Text in the ANSI code page, a byte a character or more, always followed by a NUL that size() does not count.
class Bytes {
public:
    Bytes() = default;
    Bytes(Bytes&& other) noexcept { *this = static_cast<Bytes&&>(other); }
    Bytes& operator=(Bytes&& other) noexcept {
        char* p = p_;
        p_ = other.p_;
        other.p_ = p;
        size_t n = size_;
        size_ = other.size_;
        other.size_ = n;
        return *this;
    }
    Bytes(const Bytes&) = delete;
    Bytes& operator=(const Bytes&) = delete;
    ~Bytes() { delete[] p_; }
    // Room for n bytes and the NUL, all zero; what was held goes.
    char* Resize(size_t n) {
        delete[] p_;
        p_ = new char[n + 1]();
        size_ = n;
        return p_;
    }
    const char* c_str() const { return p_ ? p_ : ""; }
    size_t size() const { return size_; }

private:
    char* p_ = nullptr;
    size_t size_{};
};

// The value of a text, absent reading as empty.
inline const Str& Value(const Text& t) { return *t; }

// The argument list: elements 1..N are the arguments, element 0 is none.
class ArgList {
public:
    ArgList() { Add(); }
    ArgList(std::initializer_list<Text> texts) {
        for (const Text& t : texts) Add() = t;
    }
    ArgList(ArgList&& other) noexcept : p_(other.p_), size_(other.size_), capacity_(other.capacity_) {
        other.p_ = nullptr;
        other.size_ = other.capacity_ = 0;
    }
    ArgList(const ArgList&) = delete;
    ArgList& operator=(const ArgList&) = delete;
    ~ArgList() { delete[] p_; }

    size_t size() const { return size_; }
    const Text& operator[](size_t i) const { return p_[i]; }
    Text& operator[](size_t i) { return p_[i]; }
    // A new absent element at the end.
    Text& Add() {
        if (size_ == capacity_) {
            capacity_ = capacity_ ? 2 * capacity_ : 4;
            Text* p = new Text[capacity_];
            for (size_t i = 0; i < size_; ++i) p[i] = static_cast<Text&&>(p_[i]);
            delete[] p_;
            p_ = p;
        }
        return p_[size_++];
    }

private:
    Text* p_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

}  // namespace qrv
