#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

// How an array grows past its capacity. Stepped adds size / 8 clamped to [4, 1024]: little slack,
// but appending n elements copies them about n / 1024 times. Geometric adds half the size (at
// least 4), so appending n elements copies each a few times at most; for arrays appended to
// without bound, such as a store's records.
enum class Growth { Stepped, Geometric };

// A contiguous array with an explicit capacity rule: growing past the capacity
// adds max(the growth step, what is needed), and the very first
// allocation is exact. Elements are trivially copyable, so growth is a realloc,
// which lets the allocator extend the block in place instead of copying it.
template <typename T, Growth growth = Growth::Stepped> class CGrowableArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "CGrowableArray holds plain records only");

public:
    using Index = std::int64_t;

    CGrowableArray() = default;
    CGrowableArray(const CGrowableArray&) = delete;
    CGrowableArray& operator=(const CGrowableArray&) = delete;
    CGrowableArray(CGrowableArray&& other) noexcept { swap(other); }
    CGrowableArray& operator=(CGrowableArray&& other) noexcept {
        CGrowableArray(std::move(other)).swap(*this);
        return *this;
    }
    ~CGrowableArray() { std::free(m_data); }

    Index GetSize() const { return m_size; }
    Index GetCapacity() const { return m_capacity; }
    bool IsEmpty() const { return m_size == 0; }

    // Resizes to n elements; new elements are zero. Throws std::bad_alloc and
    // leaves the array unchanged when memory runs out.
    void SetSize(Index n) {
        if (n <= 0) {
            std::free(m_data);
            m_data = nullptr;
            m_size = m_capacity = 0;
            return;
        }
        if (n > m_capacity)
            Reallocate(m_data == nullptr ? n : std::max(n, m_capacity + GrowthStep(m_size)));
        if (n > m_size)
            std::memset(static_cast<void*>(m_data + m_size), 0,
                        static_cast<std::size_t>(n - m_size) * sizeof(T));
        m_size = n;
    }

    void Add(const T& element) {
        if (m_size == m_capacity)
            Reallocate(m_data == nullptr ? 1 : m_capacity + GrowthStep(m_size));
        m_data[m_size++] = element;
    }

    // Sets every element to zero without changing size or storage.
    void Zero() {
        if (m_size > 0)
            std::memset(static_cast<void*>(m_data), 0, static_cast<std::size_t>(m_size) * sizeof(T));
    }

    T& operator[](Index i) { return m_data[i]; }
    const T& operator[](Index i) const { return m_data[i]; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    std::span<const T> span() const { return {m_data, static_cast<std::size_t>(m_size)}; }

    static constexpr Index GrowthStep(Index size) {
        return growth == Growth::Stepped ? std::clamp<Index>(size / 8, 4, 1024) : std::max<Index>(size / 2, 4);
    }

private:
    void Reallocate(Index capacity) {
        const auto bytes = static_cast<std::size_t>(capacity) * sizeof(T);
        if (capacity <= 0 || bytes / sizeof(T) != static_cast<std::size_t>(capacity))
            throw std::bad_alloc();
        void* grown = std::realloc(static_cast<void*>(m_data), bytes);
        if (grown == nullptr)
            throw std::bad_alloc();
        m_data = static_cast<T*>(grown);
        m_capacity = capacity;
    }

    void swap(CGrowableArray& other) noexcept {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
    }

    T* m_data = nullptr;
    Index m_size = 0;
    Index m_capacity = 0;
};
