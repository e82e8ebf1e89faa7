#pragma once
// The channel table's rules for storing what a user (or an import) enters for a channel: band
// clamping, snapping, a fresh channel transmitting on its receive frequency, offset and direction
// worked out from a typed transmit frequency, an empty transmit frequency making the channel
// receive-only, an empty receive frequency deleting it. Each store returns whether the image
// changed, which is when the caller sets the document's modified flag.

#include "radio/ChannelChoices.h"
#include "radio/VantorDoc.h"

#include <string>

class CChannelEditor final
{
public:
    explicit CChannelEditor(CVantorDoc& doc) : m_doc(doc) {}

    // What the table shows for channel n (1..128): the receive frequency, and the transmit
    // frequency worked out from receive frequency, offset and direction (empty for a channel
    // without transmit side).
    std::string RxText(int channel) const;
    std::string TxText(int channel) const;

    // An out-of-band text becomes the nearer band edge and is snapped. Empty RX deletes the
    // channel; empty TX makes it receive-only with its TX tone off. RX typed into an empty channel
    // makes it transmit on RX when its offset is empty too, else receive-only with its TX tone off.
    bool StoreRx(int channel, const std::string& text);
    bool StoreTx(int channel, const std::string& text);
    bool StoreTone(int channel, ToneDir dir, int index);
    // Upper-cased, cut at the first character without a code.
    bool StoreName(int channel, const std::string& text);
    int GetChoice(int channel, ChannelChoice choice) const;
    bool StoreChoice(int channel, ChannelChoice choice, int value);

private:
    struct Snapshot; // the channel's record and name, to tell whether a store changed anything
    Snapshot Take(int channel) const;
    bool Changed(int channel, const Snapshot& before) const;
    void StoreOffset(int channel, const std::string& rx, const std::string& tx);

    CVantorDoc& m_doc;
};
