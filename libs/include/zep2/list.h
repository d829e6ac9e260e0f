// Zep::List<T>: the library's sequence container, a doubly linked list of heap
// nodes with two cursors.
//
// The access cursor remembers the node that the last access by index reached,
// so a loop over the indexes 0, 1, 2 ... follows each link once in all. It only
// ever walks forward: an index below the cursor restarts at the head. Every
// insertion and removal invalidates it.
//
// The iteration cursor (rewind / hasCurrent / current / advance) lets a caller
// walk the list in place and drop the element it stands on with removeCurrent.
//
// Element rules: T needs a copy constructor and a destructor; indexOf needs
// operator==, the default sort operator<. Raw pointer elements never own what
// they point to; only deleteAll deletes it.
//
// The member bodies live in list_impl.h, which this header pulls in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <vector>

#include "zep2/error.h"
#include "zep2/refcount.h"
#include "zep2/str.h"

namespace Zep {

class ObjectStreamer;

// One element's heap record. Plain data: no virtual operations.
template <class T>
struct ListNode {
    ListNode* next = nullptr;
    ListNode* prev = nullptr;
    T data;

    template <class U>
    explicit ListNode(U&& value) : data(static_cast<U&&>(value)) {}
};

template <class T>
class List : public RefCountedObject {
public:
    using Node = ListNode<T>;
    // Comparison for sort: true when a must come before b.
    using CompareFn = bool (*)(T a, T b, void* userData);

    static constexpr const char* kZepSource = "list_impl";

    List() = default;
    List(std::initializer_list<T> items);
    List(const List& other);
    List(List&& other) noexcept;
    List& operator=(const List& other);
    List& operator=(List&& other) noexcept;
    ~List() override;

    int getCount() const { return m_nCount; }
    bool isEmpty() const { return m_nCount == 0; }

    // Insertion: each returns the new node and invalidates the access cursor.
    Node* insertAfter(Node* node, T value);  // null node: before the head
    Node* add(T value);
    Node* addFirst(T value);
    Node* insertAt(int index, T value);
    List& operator+=(T value);

    // Access by index through the access cursor. Out of range throws
    // FatalErrorException "List index out of range : <index> (have <count>)".
    Node* getNode(int index) const;
    Node* nodeAt(int index) const;
    T& operator[](int index);
    const T& operator[](int index) const;
    T get(int index) const;
    // Copies of the first and last element; the cursors stay where they are.
    T getFirst() const;
    T getLast() const;

    Node* getHead() const { return m_pHead; }
    Node* getTail() const { return m_pTail; }

    // Removal: each returns a copy of the removed element.
    T removeNode(Node* node);
    T removeAt(int index);
    T removeFirst();
    void clear();
    // Pointer elements only: deletes what each element points to, then clears.
    void deleteAll()
        requires(std::is_pointer_v<T> && std::is_object_v<std::remove_pointer_t<T>>);

    // Iteration cursor.
    void rewind();
    bool hasCurrent() const { return m_pIterNode != nullptr; }
    T& current();
    void advance();
    void removeCurrent();
    int getIterIndex() const { return m_nIterIndex; }

    // Search, order and bulk operations.
    int indexOf(const T& value) const
        requires requires(const T& a, const T& b) { a == b; };
    static bool defaultCompare(T a, T b, void* userData)
        requires requires(const T& a, const T& b) { a < b; };
    void sort()
        requires requires(const T& a, const T& b) { a < b; };
    void sort(CompareFn compare, void* userData);
    // Same merge as sort(compare, userData) with any callable bool(const T&, const T&).
    template <class Less>
    void sortWith(Less&& less);
    void reverse();
    void addAll(const List& other);
    // Moves every node of other, in order, to the end of this list: no
    // element is copied and the nodes stay where they are in memory. Other
    // ends empty; taking from itself does nothing.
    void takeAll(List& other);
    void addAllFirst(const List& other);
    String join(String separator) const
        requires std::is_same_v<T, String>;

    // Stream form; the bodies are in persist_impl.h.
    void persistTo(ObjectStreamer& streamer) const;
    void persistFrom(ObjectStreamer& streamer);

    // Number of links followed by accesses by index since the last reset.
    // Diagnostic only: it shows that ascending loops stay linear.
    int64_t getLinkSteps() const { return m_nLinkSteps; }
    void resetLinkSteps() { m_nLinkSteps = 0; }

    // Range-for over the elements, head to tail; touches neither cursor.
    template <bool Const>
    class Iter {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using reference = std::conditional_t<Const, const T&, T&>;
        using pointer = std::conditional_t<Const, const T*, T*>;

        Iter() = default;
        explicit Iter(Node* node) : m_pNode(node) {}
        reference operator*() const { return m_pNode->data; }
        pointer operator->() const { return &m_pNode->data; }
        Iter& operator++() {
            m_pNode = m_pNode->next;
            return *this;
        }
        Iter operator++(int) {
            Iter old = *this;
            m_pNode = m_pNode->next;
            return old;
        }
        bool operator==(const Iter& other) const { return m_pNode == other.m_pNode; }

    private:
        Node* m_pNode = nullptr;
    };
    using iterator = Iter<false>;
    using const_iterator = Iter<true>;
    iterator begin() { return iterator(m_pHead); }
    iterator end() { return iterator(); }
    const_iterator begin() const { return const_iterator(m_pHead); }
    const_iterator end() const { return const_iterator(); }

private:
    Node* linkAfter(Node* node, Node* fresh);
    void destroyNode(Node* node);
    template <class Less>
    void mergeSort(Less& less);
    template <class Less>
    Node* mergeRunPair(Less& less, Node* p, int run);
    template <class Less>
    bool lessOrRestore(Less& less, Node* p, int psize, Node* q);
    Node* appendNode(Node* node);
    template <class Less>
    void mergeSortBuffered(Less& less);
    void freeAllNodes();
    [[noreturn]] void throwIndexOutOfRange(int index) const;

    Node* m_pHead = nullptr;
    Node* m_pTail = nullptr;
    int32_t m_nCount = 0;
    Node* m_pIterNode = nullptr;
    int32_t m_nIterIndex = -1;
    // Reading by index moves the access cursor, also on a const list.
    mutable Node* m_pCursorNode = nullptr;
    mutable int32_t m_nCursorIndex = -1;
    mutable int64_t m_nLinkSteps = 0;
};

}  // namespace Zep

#include "zep2/list_impl.h"
