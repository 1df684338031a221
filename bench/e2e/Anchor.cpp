#include "Anchor.h"

#include "CadServer.h"

#include "automation/Variant.h"
#include "automation/socket/SocketClient.h"

#include <chrono>

namespace bench::e2e::anchor {

using automation::ObjectRef;
using automation::Variant;

namespace {

struct Connection {
    explicit Connection(CadServer& cad)
        : client(automation::socket::SocketClient::connect(cad.directory().socketPath(CadServer::progId),
                                                           std::chrono::milliseconds(1000))),
          document(client->rootObject()->get(u"ActiveDocument").toObject())
    {
    }
    ObjectRef newSet()
    {
        return document->get(u"SelectionSets").toObject()->call(u"Add", {Variant(u"ANCHOR")}).toObject();
    }

    std::shared_ptr<automation::socket::SocketClient> client;
    ObjectRef document;
};

}  // namespace

int textAcquisition(CadServer& cad, const std::vector<std::u16string>& handles)
{
    Connection c(cad);
    const ObjectRef set = c.newSet();
    cad.planPick(handles);
    set->call(u"SelectOnScreen", {Variant::int16Array({0}), Variant::variantArray({Variant(u"TEXT")})});
    const int32_t n = set->get(u"Count").toInt();
    int read = 0;
    for (int32_t i = 0; i < n; ++i) {
        const ObjectRef entity = set->call(u"Item", {Variant(i)}).toObject();
        entity->get(u"Layer");
        entity->get(u"TextString");
        entity->get(u"Handle");
        entity->get(u"Alignment");
        entity->get(u"InsertionPoint");
        ++read;
    }
    set->call(u"Delete");
    return read;
}

int writeBack(CadServer& cad, const std::vector<std::u16string>& handles, const std::u16string& suffix)
{
    Connection c(cad);
    int written = 0;
    for (const auto& handle : handles) {
        const ObjectRef entity = c.document->call(u"HandleToObject", {Variant(handle)}).toObject();
        const std::u16string text = entity->get(u"TextString").toString();
        entity->put(u"TextString", Variant(text + suffix));
        ++written;
    }
    return written;
}

int align(CadServer& cad, const std::vector<std::u16string>& handles, double pitch)
{
    Connection c(cad);
    int placed = 0;
    for (size_t i = 0; i < handles.size(); ++i) {
        const ObjectRef entity = c.document->call(u"HandleToObject", {Variant(handles[i])}).toObject();
        entity->put(u"InsertionPoint", Variant::point(0.0, -pitch * static_cast<double>(i)));
        entity->get(u"TextString");
        entity->call(u"Update");
        ++placed;
    }
    return placed;
}

int batchUpdate(CadServer& cad, const std::vector<std::u16string>& handles, const std::u16string& suffix)
{
    Connection c(cad);
    int written = 0;
    for (const auto& handle : handles) {
        const ObjectRef entity = c.document->call(u"HandleToObject", {Variant(handle)}).toObject();
        entity->put(u"TextString", Variant(u"W" + suffix));
        entity->call(u"Update");
        entity->get(u"InsertionPoint");
        ++written;
    }
    return written;
}

int attributeAcquisition(CadServer& cad, const std::vector<std::u16string>& handles, const std::u16string& tag)
{
    Connection c(cad);
    const ObjectRef set = c.newSet();
    cad.planPick(handles);
    set->call(u"SelectOnScreen", {Variant::int16Array({0, 2, 66}),
                                  Variant::variantArray({Variant(u"INSERT"), Variant(u"*"), Variant(int16_t{1})})});
    const int32_t n = set->get(u"Count").toInt();
    int read = 0;
    for (int32_t i = 0; i < n; ++i) {
        const ObjectRef block = set->call(u"Item", {Variant(i)}).toObject();
        for (const Variant& element : block->call(u"GetAttributes").elements()) {
            const ObjectRef attribute = element.toObject();
            if (attribute->get(u"TagString").toString() != tag)
                continue;
            attribute->get(u"TextString");
            attribute->get(u"Handle");
            attribute->get(u"Alignment");
            block->get(u"Layer");
            block->get(u"InsertionPoint");
            ++read;
        }
    }
    set->call(u"Delete");
    return read;
}

std::vector<std::u16string> attributeHandles(CadServer& cad, const std::vector<std::u16string>& blockHandles)
{
    Connection c(cad);
    std::vector<std::u16string> attributes;
    for (const auto& handle : blockHandles) {
        const ObjectRef block = c.document->call(u"HandleToObject", {Variant(handle)}).toObject();
        for (const Variant& element : block->call(u"GetAttributes").elements())
            attributes.push_back(element.toObject()->get(u"Handle").toString());
    }
    return attributes;
}

int gridUpdate(CadServer& cad, const std::vector<std::u16string>& attributes, const std::u16string& suffix)
{
    Connection c(cad);
    int written = 0;
    for (const auto& handle : attributes) {
        const ObjectRef attribute = c.document->call(u"HandleToObject", {Variant(handle)}).toObject();
        attribute->put(u"TextString", Variant(u"A" + suffix));
        attribute->call(u"Update");
        ++written;
    }
    return written;
}

int search(CadServer& cad, const std::u16string& pattern)
{
    Connection c(cad);
    const ObjectRef set = c.newSet();
    set->call(u"Select", {Variant(int16_t{5}), Variant::omitted(), Variant::omitted(), Variant::int16Array({0, 1}),
                          Variant::variantArray({Variant(u"TEXT"), Variant(pattern)})});
    const int32_t n = set->get(u"Count").toInt();
    int read = 0;
    for (int32_t i = 0; i < n; ++i) {
        const ObjectRef entity = set->call(u"Item", {Variant(i)}).toObject();
        entity->get(u"TextString");
        entity->get(u"Handle");
        entity->get(u"InsertionPoint");
        entity->get(u"Layer");
        ++read;
    }
    set->call(u"Delete");
    return read;
}

int gridAcquisition(CadServer& cad, const std::vector<std::u16string>& handles)
{
    Connection c(cad);
    const ObjectRef set = c.newSet();
    cad.planPick(handles);
    set->call(u"SelectOnScreen", {Variant::int16Array({0, 2, 66}),
                                  Variant::variantArray({Variant(u"INSERT"), Variant(u"*"), Variant(int16_t{1})})});
    const int32_t n = set->get(u"Count").toInt();
    std::vector<std::u16string> picked;
    for (int32_t k = 0; k < n; ++k) {
        const ObjectRef reference = set->call(u"Item", {Variant(k)}).toObject();
        const Variant attributes = reference->call(u"GetAttributes");
        if (attributes.arraySize() > 0)
            attributes.at(0).toObject()->get(u"TagString");
        reference->get(u"Layer");
        reference->get(u"InsertionPoint");
        picked.push_back(reference->get(u"Handle").toString());
        reference->get(u"Name");
    }
    set->call(u"Delete");
    int cells = 0;
    for (const auto& handle : picked) {
        const ObjectRef reference = c.document->call(u"HandleToObject", {Variant(handle)}).toObject();
        for (const Variant& element : reference->call(u"GetAttributes").elements()) {
            const ObjectRef attribute = element.toObject();
            attribute->get(u"TagString");
            attribute->get(u"TextString");
            attribute->get(u"InsertionPoint");
            attribute->get(u"Layer");
            attribute->get(u"Handle");
            ++cells;
        }
    }
    return cells;
}

}  // namespace bench::e2e::anchor
