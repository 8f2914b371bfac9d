#pragma once

#include "evaluation/number/builtins.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace msr {

// A whole number of up to 38,400 bits on the stack, for the exact decimal conversions of
// the extended type: its largest need is a 64-bit significand times 5^16445.
class BigUnsigned {
public:
    static constexpr std::size_t kCapacity = 1200; // 32-bit limbs

    BigUnsigned() = default;
    // Copies only the limbs in use.
    BigUnsigned(const BigUnsigned& other) : size_(other.size_) {
        std::copy(other.limbs_.begin(), other.limbs_.begin() + std::ptrdiff_t(size_),
                  limbs_.begin());
    }
    BigUnsigned& operator=(const BigUnsigned& other) {
        size_ = other.size_;
        std::copy(other.limbs_.begin(), other.limbs_.begin() + std::ptrdiff_t(size_),
                  limbs_.begin());
        return *this;
    }
    explicit BigUnsigned(std::uint64_t value) {
        while (value != 0) {
            limbs_[size_++] = std::uint32_t(value);
            value >>= 32;
        }
    }

    bool isZero() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    std::uint32_t limb(std::size_t i) const { return i < size_ ? limbs_[i] : 0; }

    int bitLength() const {
        if (size_ == 0)
            return 0;
        return int(size_ - 1) * 32 + 32 - number::LeadingZeros(std::uint32_t(limbs_[size_ - 1]));
    }

    bool bit(int i) const { return (limb(std::size_t(i) / 32) >> (i % 32)) & 1; }

    // Any of the bits below bit i set.
    bool anyBitBelow(int i) const {
        const std::size_t whole = std::size_t(i) / 32;
        for (std::size_t k = 0; k < whole && k < size_; ++k)
            if (limbs_[k] != 0)
                return true;
        const int part = i % 32;
        return part != 0 && (limb(whole) & ((std::uint32_t(1) << part) - 1)) != 0;
    }

    // The 64 bits from bit i upwards.
    std::uint64_t bitsFrom(int i) const {
        const std::size_t word = std::size_t(i) / 32;
        const int part = i % 32;
        const std::uint64_t lower = (std::uint64_t(limb(word + 1)) << 32) | limb(word);
        if (part == 0)
            return lower;
        return (lower >> part) | (std::uint64_t(limb(word + 2)) << (64 - part));
    }

    // this / 2^bits, whole.
    BigUnsigned shiftedRight(int bits) const {
        BigUnsigned result;
        const std::size_t whole = std::size_t(bits) / 32;
        const int part = bits % 32;
        for (std::size_t i = whole; i < size_; ++i) {
            const std::uint64_t pair = (std::uint64_t(limb(i + 1)) << 32) | limbs_[i];
            result.limbs_[i - whole] = std::uint32_t(pair >> part);
        }
        result.size_ = size_ > whole ? size_ - whole : 0;
        result.trim();
        return result;
    }

    void multiplyAdd(std::uint32_t factor, std::uint32_t addend = 0) {
        std::uint64_t carry = addend;
        for (std::size_t i = 0; i < size_; ++i) {
            const std::uint64_t product = std::uint64_t(limbs_[i]) * factor + carry;
            limbs_[i] = std::uint32_t(product);
            carry = product >> 32;
        }
        if (carry != 0)
            push(std::uint32_t(carry));
        trim();
    }

    void multiplyByPowerOfFive(int n) {
        constexpr std::uint32_t kFiveToThe13 = 1220703125;
        for (; n >= 13; n -= 13)
            multiplyAdd(kFiveToThe13);
        std::uint32_t rest = 1;
        for (; n > 0; --n)
            rest *= 5;
        multiplyAdd(rest);
    }

    void multiplyByPowerOfTen(int n) {
        constexpr std::uint32_t kTenToThe9 = 1000000000;
        for (; n >= 9; n -= 9)
            multiplyAdd(kTenToThe9);
        std::uint32_t rest = 1;
        for (; n > 0; --n)
            rest *= 10;
        multiplyAdd(rest);
    }

    // Divides in place and returns the remainder.
    std::uint32_t divide(std::uint32_t divisor) {
        std::uint64_t remainder = 0;
        for (std::size_t i = size_; i-- > 0;) {
            const std::uint64_t current = (remainder << 32) | limbs_[i];
            limbs_[i] = std::uint32_t(current / divisor);
            remainder = current % divisor;
        }
        trim();
        return std::uint32_t(remainder);
    }

    void shiftLeft(int bits) {
        if (size_ == 0 || bits == 0)
            return;
        const std::size_t whole = std::size_t(bits) / 32;
        const int part = bits % 32;
        if (size_ + whole + 1 > kCapacity)
            throw std::length_error("BigUnsigned capacity");
        limbs_[size_ + whole] = 0;
        for (std::size_t i = size_; i-- > 0;) {
            const std::uint64_t wide = std::uint64_t(limbs_[i]) << part;
            limbs_[i + whole + 1] |= std::uint32_t(wide >> 32);
            limbs_[i + whole] = std::uint32_t(wide);
        }
        for (std::size_t i = 0; i < whole; ++i)
            limbs_[i] = 0;
        size_ += whole + 1;
        trim();
    }

    // this = this × 2 + bit
    void shiftInBit(bool bit) {
        std::uint32_t carry = bit ? 1 : 0;
        for (std::size_t i = 0; i < size_; ++i) {
            const std::uint32_t next = limbs_[i] >> 31;
            limbs_[i] = (limbs_[i] << 1) | carry;
            carry = next;
        }
        if (carry != 0)
            push(carry);
    }

    friend int Compare(const BigUnsigned& a, const BigUnsigned& b) {
        if (a.size_ != b.size_)
            return a.size_ < b.size_ ? -1 : 1;
        for (std::size_t i = a.size_; i-- > 0;)
            if (a.limbs_[i] != b.limbs_[i])
                return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
        return 0;
    }

    // this -= other, for other <= this.
    void subtract(const BigUnsigned& other) {
        std::uint32_t borrow = 0;
        for (std::size_t i = 0; i < size_; ++i) {
            const std::uint64_t subtrahend = std::uint64_t(other.limb(i)) + borrow;
            borrow = std::uint64_t(limbs_[i]) < subtrahend ? 1 : 0;
            limbs_[i] = std::uint32_t(std::uint64_t(limbs_[i]) - subtrahend);
        }
        trim();
    }

private:
    void push(std::uint32_t limb) {
        if (size_ == kCapacity)
            throw std::length_error("BigUnsigned capacity");
        limbs_[size_++] = limb;
    }
    void trim() {
        while (size_ > 0 && limbs_[size_ - 1] == 0)
            --size_;
    }

    std::array<std::uint32_t, kCapacity> limbs_;
    std::size_t size_ = 0;
};

} // namespace msr
