#include "kelvocad/model/SampleDrawing.h"

#include "kelvocad/model/Drawing.h"

#include <array>
#include <string>

namespace kelvocad {

namespace {

TextEntity text(std::u16string layer, std::u16string string, double x, double y, int alignment = 0)
{
    TextEntity t;
    t.layer = std::move(layer);
    t.string = std::move(string);
    t.insertionPoint = {x, y, 0.0};
    // A centred text is placed by its alignment point; its insertion point lies left of it.
    t.alignment = alignment;
    t.alignmentPoint = alignment == 0 ? Point3{} : Point3{x, y, 0.0};
    if (alignment != 0)
        t.insertionPoint = {x - static_cast<double>(t.string.size()) * 1.25, y, 0.0};
    return t;
}

AttributeDefinition attributeDefinition(std::u16string tag, std::u16string prompt, std::u16string defaultValue,
                                        double dx, double dy)
{
    AttributeDefinition d;
    d.tag = std::move(tag);
    d.prompt = std::move(prompt);
    d.defaultValue = std::move(defaultValue);
    d.insertionPoint = {dx, dy, 0.0};
    return d;
}

BlockReference insert(const Drawing& drawing, std::u16string name, double x, double y,
                      std::initializer_list<std::u16string> values)
{
    BlockReference r;
    r.name = name;
    r.layer = u"DEVICE";
    r.insertionPoint = {x, y, 0.0};
    const BlockDefinition* block = drawing.findBlock(name);
    auto value = values.begin();
    for (const auto& definition : block->attributes) {
        AttributeReference a;
        a.tag = definition.tag;
        a.string = value != values.end() ? *value++ : definition.defaultValue;
        a.insertionPoint = r.insertionPoint + definition.insertionPoint;
        a.alignment = definition.alignment;
        a.height = definition.height;
        a.layer = u"DEVICE";
        r.attributes.push_back(std::move(a));
    }
    return r;
}

}  // namespace

std::shared_ptr<Drawing> makeSampleDrawing()
{
    auto drawing = std::make_shared<Drawing>();
    drawing->addLayer(u"WIRE");
    drawing->addLayer(u"ADDRESS");
    drawing->addLayer(u"NOTE");
    drawing->addLayer(u"DEVICE");
    // A locked layer whose name begins with the name of an unlocked one.
    drawing->addLayer(u"TITLE");
    drawing->addLayer(u"TITLE BLOCK", true);

    // Column 1: wire numbers, column 2: hexadecimal addresses, column 3: octal addresses,
    // column 4: Japanese captions, ten rows 10 units apart.
    static const std::array<std::u16string, 10> captions = {
        u"電源", u"非常停止", u"運転", u"停止", u"故障", u"警報", u"リセット", u"自動", u"手動", u"表示灯"};
    static const std::array<std::u16string, 10> hexAddresses = {
        u"X0A0", u"X0A1", u"X0A2", u"X0AF", u"X0B0", u"X0FF", u"X100", u"X1C8", u"X3FE", u"X3FF"};
    static const std::array<std::u16string, 10> octalAddresses = {
        u"Y000", u"Y001", u"Y007", u"Y010", u"Y017", u"Y020", u"Y077", u"Y100", u"Y176", u"Y177"};
    for (int row = 0; row < 10; ++row) {
        const double y = 200.0 - 10.0 * row;
        std::u16string wire = u"W-0" + std::u16string(1, static_cast<char16_t>(u'1' + row));
        if (row == 9)
            wire = u"W-10";
        drawing->addText(text(u"WIRE", wire, 10.0, y));
        drawing->addText(text(u"ADDRESS", hexAddresses[row], 40.0, y));
        drawing->addText(text(u"ADDRESS", octalAddresses[row], 70.0, y));
        drawing->addText(text(u"NOTE", captions[row], 100.0, y, row % 3 == 2 ? 1 : 0));
    }
    // A few ASCII captions in mixed case, for searches that care about letter case.
    drawing->addText(text(u"NOTE", u"MOTOR M1", 10.0, 90.0));
    drawing->addText(text(u"NOTE", u"Motor m2", 40.0, 90.0));
    drawing->addText(text(u"TITLE", u"PUMP UNIT", 70.0, 90.0));
    drawing->addText(text(u"TITLE BLOCK", u"図面番号 E-1001", 10.0, 10.0));
    drawing->addText(text(u"TITLE BLOCK", u"KELVO CONTROLS", 60.0, 10.0));
    drawing->addText(text(u"TITLE BLOCK", u"REV A", 110.0, 10.0));

    drawing->addBlock({u"PLC_IO",
                       {},
                       {attributeDefinition(u"PIN1", u"ピン番号", u"1", 0.0, 0.0),
                        attributeDefinition(u"IOADRS", u"I/Oアドレス", u"X000", 8.0, 0.0),
                        attributeDefinition(u"JCMNT1", u"コメント１", u"", 20.0, 0.0),
                        attributeDefinition(u"JCMNT2", u"コメント２", u"", 20.0, -4.0)}});
    drawing->addBlock({u"DEVICE",
                       {},
                       {attributeDefinition(u"NAME", u"機器名", u"", 0.0, 6.0),
                        attributeDefinition(u"NAME1", u"機器名１", u"", 0.0, 2.0),
                        attributeDefinition(u"SPEC", u"仕様", u"", 0.0, -2.0),
                        attributeDefinition(u"TYPE", u"型式", u"", 0.0, -6.0)}});
    drawing->addBlock({u"WIRE_NO", {}, {attributeDefinition(u"SENBAN", u"線番", u"W-00", 0.0, 1.0)}});

    drawing->addBlockReference(insert(*drawing, u"PLC_IO", 150.0, 200.0, {u"1", u"X0A0", u"電源入", u"AC100V"}));
    drawing->addBlockReference(insert(*drawing, u"PLC_IO", 150.0, 190.0, {u"2", u"X0A1", u"非常停止", u"B接点"}));
    drawing->addBlockReference(insert(*drawing, u"PLC_IO", 150.0, 180.0, {u"3", u"X0A2", u"運転", u""}));
    drawing->addBlockReference(insert(*drawing, u"PLC_IO", 150.0, 170.0, {u"4", u"Y000", u"運転表示", u"GL"}));
    drawing->addBlockReference(insert(*drawing, u"DEVICE", 200.0, 200.0, {u"MC1", u"主回路", u"AC200V 3.7kW", u"SC-N1"}));
    drawing->addBlockReference(insert(*drawing, u"DEVICE", 230.0, 200.0, {u"THR1", u"過負荷", u"9A", u"TH-N12"}));
    drawing->addBlockReference(insert(*drawing, u"DEVICE", 260.0, 200.0, {u"PB1", u"押釦", u"1a1b", u"AR22"}));
    drawing->addBlockReference(insert(*drawing, u"WIRE_NO", 200.0, 150.0, {u"W-01"}));
    drawing->addBlockReference(insert(*drawing, u"WIRE_NO", 220.0, 150.0, {u"W-02"}));
    drawing->addBlockReference(insert(*drawing, u"WIRE_NO", 240.0, 150.0, {u"W-03"}));

    // The sample is where a session starts, not something to undo.
    drawing->clearUndo();
    return drawing;
}

}  // namespace kelvocad
