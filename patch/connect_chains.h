#pragma once

#include <cstdint>
#include <vector>

#include "patch/patch_object.h"

namespace korvane {

// One end of a chain: its head or its tail.
struct ChainEnd {
    std::int32_t chain;
    bool head;
    bool operator==(const ChainEnd&) const = default;
};

// The splines of an object while curve connection rewrites them. Each spline is a chain of nodes
// in one arena, held in a range with room on both sides and read in either direction, so that a
// join moves only the shorter of its two chains: the longer one keeps its place and is turned to
// face the right way. A node's reference order at its point is kept as a stamp: the position of
// its reference for an original node, and a counter for a node made by a join. A join re-makes
// every node of the absorbed chain in walking order; when that chain is the longer one, its nodes
// are stamped all at once, as a block read off their places.
class ConnectChains {
  public:
    // Reads the object's splines and references; the object's arrays are rewritten by WriteBack.
    explicit ConnectChains(const PatchObject& object);

    std::int32_t Length(std::int32_t chain) const;
    std::int32_t EndPoint(ChainEnd end) const;
    // The point one segment in from the end.
    std::int32_t NeighbourPoint(ChainEnd end) const;

    // Joins a chain's tail back to its head, dropping the tail node, which repeats the head's
    // point.
    void Close(std::int32_t chain);
    // Merges absorbed's chain into survivor's at their shared end: survivor keeps its nodes and
    // its place, and gains absorbed's other nodes on that end, each made anew.
    void Merge(ChainEnd absorbed, ChainEnd survivor);

    // Rewrites the object's nodes, splines and references from the chains.
    void WriteBack(PatchObject& object);

  private:
    struct Node {
        std::int32_t point;
        std::int32_t origin;  // the original node this one is, or -1 when a join made it
        std::int64_t stamp;   // reference order at the point; read from the block when in it
    };

    struct Chain {
        std::int32_t begin;  // arena range of the nodes
        std::int32_t end;
        std::int32_t roomBegin;  // arena range reserved for the chain
        std::int32_t roomEnd;
        std::int32_t block;  // in blocks_, or -1
        bool reversed;       // head to tail runs from the arena range's end to its begin
        bool closed;
        bool alive;
    };

    // The nodes made by a chain's last absorption, when it kept its place: their stamps follow
    // their places, as base + place, or base - place when descending.
    struct Block {
        std::int32_t begin;
        std::int32_t end;
        std::int64_t base;
        bool descending;
    };

    std::size_t At(const Chain& chain, std::int32_t logical) const;
    Node Read(const Chain& chain, std::size_t at) const;
    // Nodes are passed by value: the arena may move under a reference into it.
    void PushHead(std::int32_t chain, Node node);
    void PushTail(std::int32_t chain, Node node);
    void PushAt(std::int32_t chain, bool atBegin, Node node);
    void PopHead(std::int32_t chain);
    void PopTail(std::int32_t chain);
    void PopAt(std::int32_t chain, bool atBegin);
    void Shift(Chain& chain, std::int32_t delta);
    void MakeRoom(std::int32_t chain);
    std::vector<std::int32_t> LiveChainsInArenaOrder() const;
    void Compact();

    std::vector<Node> arena_;
    std::vector<Chain> chains_;
    std::vector<Block> blocks_;
    std::int64_t nextStamp_;
    std::int64_t liveNodes_ = 0;
    std::int64_t liveRoom_ = 0;  // the live chains' rooms together
    std::vector<Node> moved_;    // scratch for the shorter chain of a merge
};

}  // namespace korvane
