#pragma once

#include <cstddef>
#include <vector>

// A growable array that holds its elements by value and owns them.
template <class T>
class CTypedArray {
public:
    int add(const T& element)
    {
        m_items.push_back(element);
        return static_cast<int>(m_items.size()) - 1;
    }
    int add(T&& element)
    {
        m_items.push_back(std::move(element));
        return static_cast<int>(m_items.size()) - 1;
    }
    T& get(int i) { return m_items[static_cast<std::size_t>(i)]; }
    const T& get(int i) const { return m_items[static_cast<std::size_t>(i)]; }
    T& operator[](int i) { return get(i); }
    const T& operator[](int i) const { return get(i); }
    int count() const { return static_cast<int>(m_items.size()); }
    bool empty() const { return m_items.empty(); }
    void removeAll() { m_items.clear(); }
    // Removes all and gives the memory back.
    void release() { std::vector<T>().swap(m_items); }
    void setSize(int n) { m_items.resize(static_cast<std::size_t>(n < 0 ? 0 : n)); }
    void reserve(int n) { m_items.reserve(static_cast<std::size_t>(n)); }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
};
