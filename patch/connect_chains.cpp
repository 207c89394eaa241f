#include "patch/connect_chains.h"

#include <algorithm>

#include "geometry/huge_pages.h"
#include "patch/patch_network_access.h"

namespace korvane {
namespace {

// Absorbed chains leave their places behind; the arena is packed once they outweigh the live
// nodes, and never for a few.
constexpr std::int64_t kCompactSlack = 4096;

}  // namespace

ConnectChains::ConnectChains(const PatchObject& object) {
    const std::size_t nodeCount = object.Nodes().size();
    // Room for the chains that grow, so that the arena is seldom moved as a whole.
    arena_.reserve(nodeCount * 2 + kCompactSlack);
    AdviseHugePages(arena_);
    arena_.resize(nodeCount);
    // A node that no reference names (only in a broken network) still gets one, after the rest.
    for (std::size_t i = 0; i < nodeCount; ++i) {
        arena_[i] = {object.Nodes()[i].controlPoint, static_cast<std::int32_t>(i),
                     static_cast<std::int64_t>(object.Refs().size() + i)};
    }
    for (std::size_t r = 0; r < object.Refs().size(); ++r) {
        const auto node = static_cast<std::size_t>(object.Refs()[r].node);
        if (node < nodeCount) {
            arena_[node].stamp = static_cast<std::int64_t>(r);
        }
    }
    nextStamp_ = static_cast<std::int64_t>(object.Refs().size() + nodeCount);
    chains_.reserve(static_cast<std::size_t>(object.SplineCount()));
    AdviseHugePages(chains_);
    for (std::int32_t s = 0; s < object.SplineCount(); ++s) {
        const std::int32_t begin = object.SplineStarts()[static_cast<std::size_t>(s)];
        const std::int32_t end = object.SplineStarts()[static_cast<std::size_t>(s) + 1];
        chains_.push_back({begin, end, begin, end, -1, false, object.Closed(s), true});
    }
    liveNodes_ = static_cast<std::int64_t>(nodeCount);
    liveRoom_ = liveNodes_;
}

std::int32_t ConnectChains::Length(std::int32_t chain) const {
    const Chain& c = chains_[static_cast<std::size_t>(chain)];
    return c.end - c.begin;
}

std::size_t ConnectChains::At(const Chain& chain, std::int32_t logical) const {
    return static_cast<std::size_t>(chain.reversed ? chain.end - 1 - logical
                                                   : chain.begin + logical);
}

ConnectChains::Node ConnectChains::Read(const Chain& chain, std::size_t at) const {
    Node node = arena_[at];
    const auto place = static_cast<std::int64_t>(at);
    if (chain.block >= 0) {
        const Block& block = blocks_[static_cast<std::size_t>(chain.block)];
        if (place >= block.begin && place < block.end) {
            node.origin = -1;
            node.stamp = block.descending ? block.base - place : block.base + place;
        }
    }
    return node;
}

std::int32_t ConnectChains::EndPoint(ChainEnd end) const {
    const Chain& chain = chains_[static_cast<std::size_t>(end.chain)];
    return arena_[At(chain, end.head ? 0 : Length(end.chain) - 1)].point;
}

std::int32_t ConnectChains::NeighbourPoint(ChainEnd end) const {
    const Chain& chain = chains_[static_cast<std::size_t>(end.chain)];
    return arena_[At(chain, end.head ? 1 : Length(end.chain) - 2)].point;
}

void ConnectChains::PushHead(std::int32_t chain, Node node) {
    PushAt(chain, !chains_[static_cast<std::size_t>(chain)].reversed, node);
}

void ConnectChains::PushTail(std::int32_t chain, Node node) {
    PushAt(chain, chains_[static_cast<std::size_t>(chain)].reversed, node);
}

void ConnectChains::PushAt(std::int32_t chain, bool atBegin, Node node) {
    Chain* c = &chains_[static_cast<std::size_t>(chain)];
    if (atBegin ? c->begin == c->roomBegin : c->end == c->roomEnd) {
        MakeRoom(chain);
        c = &chains_[static_cast<std::size_t>(chain)];
    }
    if (atBegin) {
        arena_[static_cast<std::size_t>(--c->begin)] = node;
    } else {
        arena_[static_cast<std::size_t>(c->end++)] = node;
    }
}

void ConnectChains::PopHead(std::int32_t chain) {
    PopAt(chain, !chains_[static_cast<std::size_t>(chain)].reversed);
}

void ConnectChains::PopTail(std::int32_t chain) {
    PopAt(chain, chains_[static_cast<std::size_t>(chain)].reversed);
}

// The block shrinks with the chain, so that a node pushed later into the freed place is not read
// as one of the block's.
void ConnectChains::PopAt(std::int32_t chain, bool atBegin) {
    Chain& c = chains_[static_cast<std::size_t>(chain)];
    if (atBegin) {
        ++c.begin;
    } else {
        --c.end;
    }
    if (c.block >= 0) {
        Block& block = blocks_[static_cast<std::size_t>(c.block)];
        block.begin = std::max(block.begin, c.begin);
        block.end = std::min(block.end, c.end);
    }
}

// Moves the chain's places by delta; its block's stamps stay with their nodes.
void ConnectChains::Shift(Chain& chain, std::int32_t delta) {
    chain.begin += delta;
    chain.end += delta;
    chain.roomBegin += delta;
    chain.roomEnd += delta;
    if (chain.block >= 0) {
        Block& block = blocks_[static_cast<std::size_t>(chain.block)];
        block.begin += delta;
        block.end += delta;
        block.base += block.descending ? delta : -delta;
    }
}

// Moves the chain to the arena's end with room on both sides as long as itself, so that a chain
// that keeps growing is moved a logarithmic number of times. Once the places left behind outweigh
// the rooms in use, the arena is packed first.
void ConnectChains::MakeRoom(std::int32_t chain) {
    const std::int32_t length = Length(chain);
    const std::int32_t room = 2 * length + 8;
    if (static_cast<std::int64_t>(arena_.size()) > 2 * liveRoom_ + kCompactSlack) {
        Compact();
    }
    const auto roomBegin = static_cast<std::int32_t>(arena_.size());
    arena_.resize(arena_.size() + static_cast<std::size_t>(room));
    Chain& c = chains_[static_cast<std::size_t>(chain)];
    liveRoom_ += room - (c.roomEnd - c.roomBegin);
    const std::int32_t newBegin = roomBegin + (room - length) / 2;
    std::copy(arena_.begin() + c.begin, arena_.begin() + c.end, arena_.begin() + newBegin);
    Shift(c, newBegin - c.begin);
    c.roomBegin = roomBegin;
    c.roomEnd = roomBegin + room;
}

// The live chains in arena order, sorted on their places by two passes of 16 bits: the arena holds
// fewer than 2^31 places.
std::vector<std::int32_t> ConnectChains::LiveChainsInArenaOrder() const {
    std::vector<std::int32_t> order;
    for (std::size_t c = 0; c < chains_.size(); ++c) {
        if (chains_[c].alive) {
            order.push_back(static_cast<std::int32_t>(c));
        }
    }
    std::vector<std::int32_t> sorted(order.size());
    for (const int shift : {0, 16}) {
        std::vector<std::size_t> start(0x10001, 0);
        const auto digit = [this, shift](std::int32_t c) {
            return static_cast<std::size_t>(chains_[static_cast<std::size_t>(c)].begin >> shift) &
                   0xFFFF;
        };
        for (std::int32_t c : order) {
            ++start[digit(c) + 1];
        }
        for (std::size_t d = 1; d < start.size(); ++d) {
            start[d] += start[d - 1];
        }
        for (std::int32_t c : order) {
            sorted[start[digit(c)]++] = c;
        }
        order.swap(sorted);
    }
    return order;
}

// Packs the live chains' rooms to the front of the arena, leaving the places of absorbed chains and
// old rooms behind; each chain keeps its room, so that it grows on without moving again. Taken in
// arena order, every room moves towards the front, never over one not yet moved.
void ConnectChains::Compact() {
    std::int32_t next = 0;
    for (std::int32_t c : LiveChainsInArenaOrder()) {
        Chain& chain = chains_[static_cast<std::size_t>(c)];
        std::copy(arena_.begin() + chain.begin, arena_.begin() + chain.end,
                  arena_.begin() + next + (chain.begin - chain.roomBegin));
        Shift(chain, next - chain.roomBegin);
        next = chain.roomEnd;
    }
    arena_.resize(static_cast<std::size_t>(next));
}

void ConnectChains::Close(std::int32_t chain) {
    PopTail(chain);
    chains_[static_cast<std::size_t>(chain)].closed = true;
    --liveNodes_;
}

void ConnectChains::Merge(ChainEnd absorbed, ChainEnd survivor) {
    const std::int32_t walked = Length(absorbed.chain) - 1;
    const std::int64_t firstStamp = nextStamp_;
    nextStamp_ += walked;
    --liveNodes_;
    if (walked <= Length(survivor.chain)) {
        const Chain& from = chains_[static_cast<std::size_t>(absorbed.chain)];
        for (std::int32_t i = 1; i <= walked; ++i) {
            Node node = Read(from, At(from, absorbed.head ? i : walked - i));
            node.origin = -1;
            node.stamp = firstStamp + i - 1;
            if (survivor.head) {
                PushHead(survivor.chain, node);
            } else {
                PushTail(survivor.chain, node);
            }
        }
        Chain& gone = chains_[static_cast<std::size_t>(absorbed.chain)];
        gone.alive = false;
        liveRoom_ -= gone.roomEnd - gone.roomBegin;
        return;
    }
    // The absorbed chain is the longer: it keeps its place, less the node on the shared point,
    // and all its nodes become one block stamped in walking order from that point.
    const Chain& kept = chains_[static_cast<std::size_t>(absorbed.chain)];
    const bool sharedAtBegin = absorbed.head != kept.reversed;
    moved_.clear();
    const Chain& other = chains_[static_cast<std::size_t>(survivor.chain)];
    for (std::int32_t i = 0; i < Length(survivor.chain); ++i) {
        moved_.push_back(Read(other, At(other, i)));
    }
    if (absorbed.head) {
        PopHead(absorbed.chain);
    } else {
        PopTail(absorbed.chain);
    }
    Chain& held = chains_[static_cast<std::size_t>(absorbed.chain)];
    // The chain's earlier block, if any, is wholly overwritten by the new one.
    if (held.block < 0) {
        held.block = static_cast<std::int32_t>(blocks_.size());
        blocks_.emplace_back();
    }
    Block& block = blocks_[static_cast<std::size_t>(held.block)];
    block.begin = held.begin;
    block.end = held.end;
    block.descending = !sharedAtBegin;
    block.base = sharedAtBegin ? firstStamp - held.begin : firstStamp + held.end - 1;
    // Turned so that the absorbed nodes lead into the survivor's on the shared side.
    if (absorbed.head == survivor.head) {
        held.reversed = !held.reversed;
    }
    if (survivor.head) {
        for (const Node& node : moved_) {
            PushTail(absorbed.chain, node);
        }
    } else {
        for (auto node = moved_.rbegin(); node != moved_.rend(); ++node) {
            PushHead(absorbed.chain, *node);
        }
    }
    Chain& merged = chains_[static_cast<std::size_t>(absorbed.chain)];
    Chain& place = chains_[static_cast<std::size_t>(survivor.chain)];
    const bool closed = place.closed;
    liveRoom_ -= place.roomEnd - place.roomBegin;
    place = merged;
    place.closed = closed;
    merged.alive = false;
}

// The chains are first read out in their final order and dropped, then turned into nodes, so that
// the arena and the old and new nodes are never all held at once.
void ConnectChains::WriteBack(PatchObject& object) {
    std::vector<Node> written;
    written.reserve(static_cast<std::size_t>(liveNodes_));
    AdviseHugePages(written);
    std::vector<std::int32_t> splineStart{0};
    std::vector<bool> closed;
    for (const Chain& chain : chains_) {
        if (!chain.alive) {
            continue;
        }
        for (std::int32_t i = 0; i < chain.end - chain.begin; ++i) {
            written.push_back(Read(chain, At(chain, i)));
        }
        splineStart.push_back(static_cast<std::int32_t>(written.size()));
        closed.push_back(chain.closed);
    }
    std::vector<Node>().swap(arena_);
    std::vector<Chain>().swap(chains_);
    std::vector<Block>().swap(blocks_);
    std::vector<SplineNode> nodes;
    nodes.reserve(written.size());
    AdviseHugePages(nodes);
    std::vector<std::int64_t> stamps;
    stamps.reserve(written.size());
    for (const Node& node : written) {
        SplineNode& made = nodes.emplace_back(
            node.origin >= 0 ? object.Nodes()[static_cast<std::size_t>(node.origin)]
                             : SplineNode{});
        made.controlPoint = node.point;
        stamps.push_back(node.stamp);
    }
    std::vector<Node>().swap(written);
    PatchNetworkAccess::Nodes(object) = std::move(nodes);
    PatchNetworkAccess::SplineStarts(object) = std::move(splineStart);
    PatchNetworkAccess::SplineClosedFlags(object) = std::move(closed);
    object.IndexReferences();
    // Within a point, references follow their stamps; most points' are in order already.
    const auto byStamp = [&stamps](const SplineRef& a, const SplineRef& b) {
        return stamps[static_cast<std::size_t>(a.node)] < stamps[static_cast<std::size_t>(b.node)];
    };
    std::vector<SplineRef>& refs = PatchNetworkAccess::Refs(object);
    const std::vector<std::int32_t>& refStart = object.RefStarts();
    for (std::int32_t p = 0; p < object.PointCount(); ++p) {
        const auto first = refs.begin() + refStart[static_cast<std::size_t>(p)];
        const auto last = refs.begin() + refStart[static_cast<std::size_t>(p) + 1];
        if (!std::is_sorted(first, last, byStamp)) {
            std::sort(first, last, byStamp);
        }
    }
}

}  // namespace korvane
