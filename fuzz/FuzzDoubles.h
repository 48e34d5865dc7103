#pragma once
// Reading fuzz input a piece at a time.
#include <QByteArray>

#include <cstddef>
#include <cstdint>

class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    uint8_t byte() { return empty() ? 0 : data_[pos_++]; }
    QByteArray bytes(size_t n) {
        if (n > size_ - pos_)
            n = size_ - pos_;
        QByteArray out(reinterpret_cast<const char *>(data_ + pos_), qsizetype(n));
        pos_ += n;
        return out;
    }
    QByteArray rest() { return bytes(size_ - pos_); }

private:
    const uint8_t *data_;
    size_t size_;
    size_t pos_ = 0;
};
