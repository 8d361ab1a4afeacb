#pragma once
// A list of small plain values (a pointer's size at most) that keeps a single value in
// place of its storage: most of a page's sections have one font run and one source run,
// and a list of one then costs no allocation of its own. 16 bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <type_traits>

template <class T>
class TSmallList {
    static_assert(std::is_trivially_copyable_v<T> && sizeof(T) <= sizeof(void*),
                  "values are copied as bytes and one fits in place of the storage");

  public:
    TSmallList() = default;
    TSmallList(const TSmallList& other) { Assign(other.data(), other.size_); }
    TSmallList(TSmallList&& other) noexcept { Take(other); }
    TSmallList& operator=(const TSmallList& other) {
        if (this != &other) {
            TSmallList copy(other);
            Release();
            Take(copy);
        }
        return *this;
    }
    TSmallList& operator=(TSmallList&& other) noexcept {
        if (this != &other) {
            Release();
            Take(other);
        }
        return *this;
    }
    ~TSmallList() { Release(); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::size_t capacity() const { return capacity_ == 0 ? 1 : capacity_; }
    T* data() { return capacity_ == 0 ? &store_.one : store_.many; }
    const T* data() const { return capacity_ == 0 ? &store_.one : store_.many; }
    T* begin() { return data(); }
    T* end() { return data() + size_; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + size_; }
    T& operator[](std::size_t i) { return data()[i]; }
    const T& operator[](std::size_t i) const { return data()[i]; }
    T& back() { return data()[size_ - 1]; }
    const T& back() const { return data()[size_ - 1]; }

    void push_back(const T& value) {
        if (size_ == capacity()) Grow(size_ < 4 ? 4 : std::size_t{size_} * 2);
        data()[size_++] = value;
    }
    void pop_back() { --size_; }
    void erase(T* at) {
        std::memmove(at, at + 1, static_cast<std::size_t>(end() - at - 1) * sizeof(T));
        --size_;
    }
    // Back to just the room its values need (in place, when that is one).
    void shrink_to_fit() {
        if (capacity_ == 0 || size_ == capacity_) return;
        TSmallList exact(*this);
        Release();
        Take(exact);
    }

  private:
    void Assign(const T* values, std::uint32_t count) {
        if (count > 1) {
            store_.many = new T[count];
            capacity_ = count;
        }
        if (count > 0) std::memcpy(data(), values, count * sizeof(T));
        size_ = count;
    }
    void Grow(std::size_t room) {
        if (room > UINT32_MAX) throw std::length_error("A list cannot hold that many values");
        T* grown = new T[room];
        if (size_ > 0) std::memcpy(grown, data(), size_ * sizeof(T));
        if (capacity_ != 0) delete[] store_.many;
        store_.many = grown;
        capacity_ = static_cast<std::uint32_t>(room);
    }
    void Release() {
        if (capacity_ != 0) delete[] store_.many;
        capacity_ = 0;
        size_ = 0;
    }
    void Take(TSmallList& other) {
        if (other.capacity_ == 0) store_.one = other.store_.one;
        else store_.many = other.store_.many;
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.capacity_ = 0;
        other.size_ = 0;
    }

    union Storage {
        Storage() : many(nullptr) {}
        T one;  // while capacity_ is 0
        T* many;
    } store_;
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 0;  // 0: the one value is held in place
};
