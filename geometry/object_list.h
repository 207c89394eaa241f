#pragma once

#include <cstdint>

namespace korvane {

// A doubly linked list of non-owning pointers in insertion order. Positions are handles to list
// nodes and stay valid until their own node is removed. The list never deletes the objects it
// points to: their owner deletes each one and then removes it, or deletes all and empties the list.
template <class T>
class ObjectList {
    struct Node {
        Node* next;
        Node* prev;
        T* value;
    };

  public:
    // An opaque position; a default-constructed one is "none".
    class Position {
      public:
        Position() = default;
        explicit operator bool() const { return node_ != nullptr; }
        bool operator==(const Position&) const = default;

      private:
        friend class ObjectList;
        explicit Position(Node* node) : node_(node) {}
        Node* node_ = nullptr;
    };

    class Iterator {
      public:
        explicit Iterator(Node* node) : node_(node) {}
        T* operator*() const { return node_->value; }
        Iterator& operator++() {
            node_ = node_->next;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

      private:
        Node* node_;
    };

    ObjectList() = default;
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;
    ~ObjectList() { RemoveAll(); }

    Position AddTail(T* object) {
        Node* node = NewNode(object);
        node->prev = tail_;
        node->next = nullptr;
        (tail_ ? tail_->next : head_) = node;
        tail_ = node;
        return Position(node);
    }

    Position AddHead(T* object) {
        Node* node = NewNode(object);
        node->prev = nullptr;
        node->next = head_;
        (head_ ? head_->prev : tail_) = node;
        head_ = node;
        return Position(node);
    }

    Position GetHeadPosition() const { return Position(head_); }
    Position GetTailPosition() const { return Position(tail_); }

    // The element at position; position moves to the next node (none after the last).
    T* GetNext(Position& position) const {
        Node* node = position.node_;
        position.node_ = node->next;
        return node->value;
    }

    // The element at position; position moves to the previous node (none before the first).
    T* GetPrev(Position& position) const {
        Node* node = position.node_;
        position.node_ = node->prev;
        return node->value;
    }

    T* GetAt(Position position) const { return position.node_->value; }
    T* GetHead() const { return head_->value; }
    T* GetTail() const { return tail_->value; }

    // Position of the element with 0-based index n [O(n)].
    Position FindIndex(std::int32_t n) const {
        if (n < 0 || n >= count_) {
            return Position();
        }
        Node* node = head_;
        while (n-- > 0) {
            node = node->next;
        }
        return Position(node);
    }

    void RemoveAt(Position position) {
        Node* node = position.node_;
        (node->prev ? node->prev->next : head_) = node->next;
        (node->next ? node->next->prev : tail_) = node->prev;
        FreeNode(node);
    }

    void RemoveAll() {
        RemoveAll([](T*) {});
    }

    // Empties the list in one walk, calling visit(element) head to tail just before each node is
    // freed: an owner deletes its elements this way without walking the list twice.
    template <class Visit>
    void RemoveAll(Visit visit) {
        Node* node = head_;
        head_ = tail_ = nullptr;
        count_ = 0;
        while (node != nullptr) {
            Node* next = node->next;
            visit(node->value);
            delete node;
            node = next;
        }
    }

    std::int32_t GetCount() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }

    Iterator begin() const { return Iterator(head_); }
    Iterator end() const { return Iterator(nullptr); }

  private:
    Node* NewNode(T* object) {
        Node* node = new Node{nullptr, nullptr, object};
        ++count_;
        return node;
    }

    void FreeNode(Node* node) {
        delete node;
        --count_;
    }

    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    std::int32_t count_ = 0;
};

}  // namespace korvane
