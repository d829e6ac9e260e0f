// Member bodies of Zep::List<T>. Include zep2/list.h, which pulls this in.
#pragma once

#include <algorithm>
#include <utility>

#include "zep2/list.h"

namespace Zep {

namespace list_detail {
// Written into a node's links after it is unlinked on its own, so a stale
// pointer to it fails loudly instead of walking into a neighbour.
inline constexpr uintptr_t kPoisonNext = 0xBEEFDEADu;
inline constexpr uintptr_t kPoisonPrev = 0xDEADBEEFu;
}  // namespace list_detail

// ---------------------------------------------------------------------------
// Construction, copying, destruction

template <class T>
List<T>::List(std::initializer_list<T> items) {
    try {
        for (const T& item : items) add(item);
    } catch (...) {
        clear();
        throw;
    }
}

template <class T>
List<T>::List(const List& other) : RefCountedObject() {
    try {
        // Reads the source ascending, so its access cursor walks each link once.
        const int n = other.m_nCount;
        for (int i = 0; i < n; ++i) insertAfter(m_pTail, other.getNode(i)->data);
    } catch (...) {
        clear();  // the destructor does not run for a half-built object
        throw;
    }
}

template <class T>
List<T>::List(List&& other) noexcept
    : RefCountedObject(),
      m_pHead(other.m_pHead),
      m_pTail(other.m_pTail),
      m_nCount(other.m_nCount),
      m_pIterNode(other.m_pIterNode),
      m_nIterIndex(other.m_nIterIndex),
      m_pCursorNode(other.m_pCursorNode),
      m_nCursorIndex(other.m_nCursorIndex) {
    other.m_pHead = other.m_pTail = other.m_pIterNode = nullptr;
    other.m_nCount = 0;
    other.m_nCursorIndex = -1;
}

template <class T>
List<T>& List<T>::operator=(const List& other) {
    if (&other == this) return *this;
    // Copy first: when an element copy throws, this list keeps what it held.
    List copy(other);
    std::swap(m_pHead, copy.m_pHead);
    std::swap(m_pTail, copy.m_pTail);
    std::swap(m_nCount, copy.m_nCount);
    m_pIterNode = nullptr;  // the position stays, as clear leaves it
    m_nCursorIndex = -1;
    return *this;
}

template <class T>
List<T>& List<T>::operator=(List&& other) noexcept {
    if (&other == this) return *this;
    freeAllNodes();
    m_pHead = other.m_pHead;
    m_pTail = other.m_pTail;
    m_nCount = other.m_nCount;
    m_pIterNode = other.m_pIterNode;
    m_nIterIndex = other.m_nIterIndex;
    m_pCursorNode = other.m_pCursorNode;
    m_nCursorIndex = other.m_nCursorIndex;
    other.m_pHead = other.m_pTail = other.m_pIterNode = nullptr;
    other.m_nCount = 0;
    other.m_nCursorIndex = -1;
    return *this;
}

template <class T>
List<T>::~List() {
    ZEP_TRACE("List::~List");
    clear();
}

// ---------------------------------------------------------------------------
// Insertion

template <class T>
ListNode<T>* List<T>::linkAfter(Node* node, Node* fresh) {
    if (node == nullptr) {
        fresh->next = m_pHead;
        m_pHead = fresh;
    } else {
        fresh->next = node->next;
        node->next = fresh;
    }
    fresh->prev = node;
    if (fresh->next != nullptr)
        fresh->next->prev = fresh;
    else
        m_pTail = fresh;
    ++m_nCount;
    m_nCursorIndex = -1;
    return fresh;
}

template <class T>
ListNode<T>* List<T>::insertAfter(Node* node, T value) {
    // The node is built before any link changes, so a failing copy or
    // allocation leaves the list as it was.
    return linkAfter(node, new Node(std::move(value)));
}

template <class T>
ListNode<T>* List<T>::add(T value) {
    return insertAfter(m_pTail, std::move(value));
}

template <class T>
ListNode<T>* List<T>::addFirst(T value) {
    return insertAfter(nullptr, std::move(value));
}

template <class T>
ListNode<T>* List<T>::insertAt(int index, T value) {
    if (index == 0) return insertAfter(nullptr, std::move(value));
    // Range errors name index - 1, the index handed to getNode.
    Node* before = getNode(index - 1);
    return insertAfter(before, std::move(value));
}

template <class T>
List<T>& List<T>::operator+=(T value) {
    add(std::move(value));
    return *this;
}

// ---------------------------------------------------------------------------
// Access

template <class T>
void List<T>::throwIndexOutOfRange(int index) const {
    ZEP_THROW(FatalErrorException,
              String::format("List index out of range : %d (have %d)", index, m_nCount).c_str());
}

template <class T>
ListNode<T>* List<T>::getNode(int index) const {
    if (index < 0 || index >= m_nCount) throwIndexOutOfRange(index);
    Node* node;
    int at;
    if (m_nCursorIndex != -1 && index >= m_nCursorIndex) {
        node = m_pCursorNode;
        at = m_nCursorIndex;
    } else {
        node = m_pHead;
        at = 0;
    }
    m_nLinkSteps += index - at;
    for (; at < index; ++at) node = node->next;
    m_pCursorNode = node;
    m_nCursorIndex = index;
    return node;
}

template <class T>
ListNode<T>* List<T>::nodeAt(int index) const {
    ZEP_TRACE("List::nodeAt");
    return getNode(index);
}

template <class T>
T& List<T>::operator[](int index) {
    return getNode(index)->data;
}

template <class T>
const T& List<T>::operator[](int index) const {
    return getNode(index)->data;
}

template <class T>
T List<T>::get(int index) const {
    return getNode(index)->data;
}

template <class T>
T List<T>::getFirst() const {
    if (m_pHead == nullptr) throwIndexOutOfRange(0);
    return m_pHead->data;
}

template <class T>
T List<T>::getLast() const {
    if (m_pTail == nullptr) throwIndexOutOfRange(0);
    return m_pTail->data;
}

// ---------------------------------------------------------------------------
// Removal

template <class T>
void List<T>::destroyNode(Node* node) {
    if (node->prev != nullptr)
        node->prev->next = node->next;
    else
        m_pHead = node->next;
    if (node->next != nullptr)
        node->next->prev = node->prev;
    else
        m_pTail = node->prev;
    // Whoever removes the node the iteration stands on moves the iteration to
    // the following node; the position stays, as that element now holds it.
    if (node == m_pIterNode) m_pIterNode = node->next;
    node->prev = reinterpret_cast<Node*>(list_detail::kPoisonPrev);
    node->next = reinterpret_cast<Node*>(list_detail::kPoisonNext);
    delete node;
    --m_nCount;
    m_nCursorIndex = -1;
}

template <class T>
T List<T>::removeNode(Node* node) {
    ZEP_ASSERT(node != nullptr);
    T result(std::move(node->data));
    destroyNode(node);
    return result;
}

template <class T>
T List<T>::removeAt(int index) {
    return removeNode(getNode(index));
}

template <class T>
T List<T>::removeFirst() {
    if (m_pHead == nullptr) throwIndexOutOfRange(0);
    return removeNode(m_pHead);
}

template <class T>
void List<T>::freeAllNodes() {
    Node* node = m_pHead;
    while (node != nullptr) {
        Node* following = node->next;
        delete node;
        node = following;
    }
}

template <class T>
void List<T>::clear() {
    freeAllNodes();
    m_pIterNode = nullptr;
    m_pHead = m_pTail = nullptr;
    m_nCount = 0;
    m_nCursorIndex = -1;
}

template <class T>
void List<T>::deleteAll()
    requires(std::is_pointer_v<T> && std::is_object_v<std::remove_pointer_t<T>>)
{
    // Guarded again inside (as are the other constrained members' bodies):
    // clang before 16 instantiates every member on an explicit instantiation
    // of the class, whatever its constraints.
    if constexpr (std::is_pointer_v<T> && std::is_object_v<std::remove_pointer_t<T>>) {
        for (Node* node = m_pHead; node != nullptr; node = node->next) {
            delete node->data;  // null elements are skipped by delete itself
            node->data = nullptr;
        }
    }
    clear();
}

// ---------------------------------------------------------------------------
// Iteration cursor

template <class T>
void List<T>::rewind() {
    m_pIterNode = m_pHead;
    m_nIterIndex = 0;
}

template <class T>
T& List<T>::current() {
    ZEP_ASSERT(m_pIterNode != nullptr);
    return m_pIterNode->data;
}

template <class T>
void List<T>::advance() {
    if (m_pIterNode == nullptr) return;
    m_pIterNode = m_pIterNode->next;
    ++m_nIterIndex;
}

template <class T>
void List<T>::removeCurrent() {
    ZEP_ASSERT(m_pIterNode != nullptr);
    destroyNode(m_pIterNode);
}

// ---------------------------------------------------------------------------
// Search, order and bulk operations

template <class T>
int List<T>::indexOf(const T& value) const
    requires requires(const T& a, const T& b) { a == b; }
{
    if constexpr (requires(const T& a, const T& b) { a == b; }) {
        const int n = m_nCount;
        for (int i = 0; i < n; ++i) {
            if (getNode(i)->data == value) return i;
        }
    }
    return -1;
}

template <class T>
bool List<T>::defaultCompare(T a, T b, void*)
    requires requires(const T& a, const T& b) { a < b; }
{
    if constexpr (requires(const T& x, const T& y) { x < y; })
        return a < b;
    else
        return false;
}

template <class T>
void List<T>::sort()
    requires requires(const T& a, const T& b) { a < b; }
{
    ZEP_TRACE("List::sort");
    if constexpr (requires(const T& a, const T& b) { a < b; }) {
        auto less = [](const T& a, const T& b) { return defaultCompare(a, b, nullptr); };
        mergeSort(less);
    }
}

template <class T>
void List<T>::sort(CompareFn compare, void* userData) {
    ZEP_TRACE("List::sort");
    ZEP_ASSERT(compare != nullptr);
    auto less = [compare, userData](const T& a, const T& b) { return compare(a, b, userData); };
    mergeSort(less);
}

template <class T>
template <class Less>
void List<T>::sortWith(Less&& less) {
    ZEP_TRACE("List::sortWith");
    mergeSort(less);
}

// Bottom-up merge sort over the existing nodes. On a tie the right-hand run's
// node goes first, so equal elements come out in reverse order. Saved
// highscore tables depend on that order: this must not become a stable sort.
template <class T>
template <class Less>
void List<T>::mergeSort(Less& less) {
    if (m_pHead == nullptr) return;
    if constexpr (std::is_trivially_copyable_v<T> && std::is_copy_assignable_v<T> && sizeof(T) <= 16) {
        mergeSortBuffered(less);
        return;
    }
    // Each pass takes the chain apart and merges neighbouring runs back onto
    // the list; runs double until one merge covers every node.
    for (int run = 1;; run *= 2) {
        Node* p = m_pHead;
        m_pHead = m_pTail = nullptr;
        int merges = 0;
        for (; p != nullptr; ++merges) p = mergeRunPair(less, p, run);
        m_pTail->next = nullptr;
        if (merges <= 1) break;
    }
    m_nCursorIndex = -1;
}

// Merges the run of at most `run` nodes starting at p with the run after it,
// appending the nodes to the list; returns the node after the second run.
template <class T>
template <class Less>
ListNode<T>* List<T>::mergeRunPair(Less& less, Node* p, int run) {
    Node* q = p;
    int psize = 0;
    for (int i = 0; i < run && q != nullptr; ++i) {
        ++psize;
        q = q->next;
    }
    int qsize = run;
    while (psize > 0 || (qsize > 0 && q != nullptr)) {
        const bool takeLeft = psize > 0 && (qsize == 0 || q == nullptr || lessOrRestore(less, p, psize, q));
        if (takeLeft) {
            p = appendNode(p);
            --psize;
        } else {
            q = appendNode(q);
            --qsize;
        }
    }
    return q;
}

// less(p, q); when it throws, the untaken nodes go back on the list first.
// They still chain through their old links: psize nodes from p, then every
// node from q to the end.
template <class T>
template <class Less>
bool List<T>::lessOrRestore(Less& less, Node* p, int psize, Node* q) {
    try {
        return less(p->data, q->data);
    } catch (...) {
        for (; psize > 0; --psize) p = appendNode(p);
        while (q != nullptr) q = appendNode(q);
        m_pTail->next = nullptr;
        m_nCursorIndex = -1;
        throw;
    }
}

// Puts the node after the tail; returns the node that followed it before.
template <class T>
ListNode<T>* List<T>::appendNode(Node* node) {
    Node* following = node->next;
    node->prev = m_pTail;
    if (m_pTail != nullptr)
        m_pTail->next = node;
    else
        m_pHead = node;
    m_pTail = node;
    return following;
}

// The same merges as mergeSort, on copies of the elements held side by side
// with their nodes. Every comparison sees the same pair of values in the same
// order as the walk along the links would, so the outcome is identical; the
// links are rewritten once at the end. Only for elements whose copy is a plain
// byte copy, which is what the comparison receives in either case.
template <class T>
template <class Less>
void List<T>::mergeSortBuffered(Less& less) {
    struct Slot {
        T m_value;
        Node* m_pNode;
    };
    const size_t n = static_cast<size_t>(m_nCount);
    std::vector<Slot> from;
    from.reserve(n);
    for (Node* node = m_pHead; node != nullptr; node = node->next) from.push_back(Slot{node->data, node});
    std::vector<Slot> to(from);

    // A throwing comparison leaves the links untouched.
    for (size_t run = 1;; run *= 2) {
        size_t merges = 0;
        for (size_t lo = 0; lo < n; lo += 2 * run) {
            ++merges;
            const size_t mid = std::min(lo + run, n);
            const size_t hi = std::min(mid + run, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                if (less(from[i].m_value, from[j].m_value))
                    to[k++] = from[i++];
                else
                    to[k++] = from[j++];
            }
            while (i < mid) to[k++] = from[i++];
            while (j < hi) to[k++] = from[j++];
        }
        from.swap(to);
        if (merges <= 1) break;
    }

    m_pHead = m_pTail = nullptr;
    for (const Slot& slot : from) appendNode(slot.m_pNode);
    m_pTail->next = nullptr;
    m_nCursorIndex = -1;
}

template <class T>
void List<T>::reverse() {
    ZEP_TRACE("List::reverse");
    for (Node* node = m_pHead; node != nullptr; node = node->prev) std::swap(node->next, node->prev);
    std::swap(m_pHead, m_pTail);
    m_nCursorIndex = -1;
}

template <class T>
void List<T>::addAll(const List& other) {
    ZEP_TRACE("List::addAll");
    if (&other == this) {
        // Appending to itself doubles the list; a snapshot keeps this linear.
        List snapshot(other);
        for (Node* node = snapshot.m_pHead; node != nullptr; node = node->next) add(std::move(node->data));
        return;
    }
    const int n = other.m_nCount;
    for (int i = 0; i < n; ++i) add(other.getNode(i)->data);
}

template <class T>
void List<T>::takeAll(List& other) {
    if (&other == this || other.m_pHead == nullptr) return;
    if (m_pTail != nullptr) {
        m_pTail->next = other.m_pHead;
        other.m_pHead->prev = m_pTail;
    } else {
        m_pHead = other.m_pHead;
    }
    m_pTail = other.m_pTail;
    m_nCount += other.m_nCount;
    other.m_pHead = other.m_pTail = other.m_pIterNode = nullptr;
    other.m_nCount = 0;
    other.m_nCursorIndex = -1;
}

template <class T>
void List<T>::addAllFirst(const List& other) {
    ZEP_TRACE("List::addAllFirst");
    if (&other == this) {
        // Prepending shifts the source's indexes under the loop; read a copy.
        List snapshot(other);
        addAllFirst(snapshot);
        return;
    }
    for (Node* node = other.m_pTail; node != nullptr; node = node->prev) addFirst(node->data);
}

template <class T>
String List<T>::join(String separator) const
    requires std::is_same_v<T, String>
{
    ZEP_TRACE("List::join");
    String result;
    if constexpr (std::is_same_v<T, String>) {
        if (m_pHead == nullptr) return result;
        result = m_pHead->data;
        for (Node* node = m_pHead->next; node != nullptr; node = node->next) {
            String piece = separator + node->data;
            result += piece;
        }
    }
    return result;
}

}  // namespace Zep
