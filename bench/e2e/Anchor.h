#pragma once

#include <string>
#include <vector>

namespace bench::e2e {

class CadServer;

// The plain late-binding client: a connection of its own, the member's name sent with every
// call and looked up by the server each time, no records kept, no window kept live. It
// makes the call sequence of kelvoedit's operation and nothing else, so its figures are
// the floor of what the transport costs.
namespace anchor {

// Pick of `handles`, then per TEXT: Item, Layer, TextString, Handle, Alignment, InsertionPoint.
int textAcquisition(CadServer& cad, const std::vector<std::u16string>& handles);
// Per TEXT: HandleToObject, TextString read, TextString written (with `suffix` appended).
int writeBack(CadServer& cad, const std::vector<std::u16string>& handles, const std::u16string& suffix);
// Per TEXT: HandleToObject, InsertionPoint written (i steps of `pitch` below the first),
// TextString read, Update.
int align(CadServer& cad, const std::vector<std::u16string>& handles, double pitch);
// Per TEXT: HandleToObject, TextString written (with `suffix`), Update, InsertionPoint read.
int batchUpdate(CadServer& cad, const std::vector<std::u16string>& handles, const std::u16string& suffix);
// Pick of `handles`; per block: Item, GetAttributes, every TagString, and for the one of
// `tag`: TextString, Handle, Alignment, then the block's Layer and InsertionPoint.
int attributeAcquisition(CadServer& cad, const std::vector<std::u16string>& handles, const std::u16string& tag);
// The handles of every attribute of the blocks, as the grid knows them after its acquisition.
std::vector<std::u16string> attributeHandles(CadServer& cad, const std::vector<std::u16string>& blockHandles);
// Per attribute: HandleToObject, TextString written (with `suffix`), Update.
int gridUpdate(CadServer& cad, const std::vector<std::u16string>& attributeHandles, const std::u16string& suffix);
// Select by the pattern, then per hit: Item, TextString, Handle, InsertionPoint, Layer.
int search(CadServer& cad, const std::u16string& pattern);
// Pick of `handles`; per block: Item, GetAttributes, the first TagString, Layer,
// InsertionPoint, Handle, Name; then per block: HandleToObject, GetAttributes and per
// attribute TagString, TextString, InsertionPoint, Layer, Handle.
int gridAcquisition(CadServer& cad, const std::vector<std::u16string>& handles);

}  // namespace anchor
}  // namespace bench::e2e
