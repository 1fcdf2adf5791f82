// Test helper: code page 936 bytes of a UTF-8 literal, by the C library's
// converter, so expected texts are written as readable Chinese.
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>

inline std::string Gbk(const std::string& utf8, const char* charset = "GB18030") {
    iconv_t cd = iconv_open(charset, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
    std::string out(utf8.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    char* outPtr = out.data();
    const std::size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("not convertible: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}
