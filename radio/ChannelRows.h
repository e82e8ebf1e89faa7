#pragma once
// Whole channels moved about in the memory: inserted, emptied, moved up or down. A channel travels
// with every byte of its record, its name and its bit of the empty-channel bitmap, so settings the
// table does not show go with it.

#include <vector>

class CVantorDoc;

class CChannelRows final
{
public:
    explicit CChannelRows(CVantorDoc& doc) : m_doc(doc) {}

    // Channels `channel`..127 move down by one and `channel` becomes empty. False (nothing
    // changes) when channel 128 is in use, as it would fall off the end.
    bool InsertEmpty(int channel);
    // Each channel is emptied as the table does when its receive frequency is cleared.
    void Empty(const std::vector<int>& channels);
    // Each channel swaps with its neighbour above (delta -1) or below (+1); a run of channels moves
    // as a block. False (nothing changes) when one of them would leave 1..128. The channels are
    // given in ascending order.
    bool Move(const std::vector<int>& channels, int delta);

private:
    void Swap(int a, int b);

    CVantorDoc& m_doc;
};
