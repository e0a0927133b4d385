#pragma once

// Doubly linked lists threaded through their elements: a node names its neighbours through two
// pointer members, so one node can sit in several lists and leave each in constant time.
template <typename Node>
struct IntrusiveLinks {
    Node* Node::*previous;
    Node* Node::*next;

    // Puts node before `before` (at the end when it is null: only for an empty list here).
    void InsertBefore(Node*& head, Node& node, Node* before) const {
        node.*next = before;
        node.*previous = before != nullptr ? before->*previous : nullptr;
        if (node.*previous != nullptr)
            node.*previous->*next = &node;
        else
            head = &node;
        if (before != nullptr)
            before->*previous = &node;
    }
    void PushFront(Node*& head, Node& node) const { InsertBefore(head, node, head); }
    void Unlink(Node*& head, Node& node) const {
        if (node.*previous != nullptr)
            node.*previous->*next = node.*next;
        else
            head = node.*next;
        if (node.*next != nullptr)
            node.*next->*previous = node.*previous;
        node.*previous = node.*next = nullptr;
    }
};
