#include "DrawingFiles.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>

namespace bench::e2e {

namespace {

// An R12 DXF file, group by group.
class DxfText {
public:
    void group(int code, const std::string& value)
    {
        out_ += std::to_string(code);
        out_ += '\n';
        out_ += value;
        out_ += '\n';
    }
    void point(int code, double x, double y)
    {
        group(code, number(x));
        group(code + 10, number(y));
        group(code + 20, "0.0");
    }
    std::string handle()
    {
        char text[17];
        std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(next_++));
        return text;
    }
    void head()
    {
        // Handles start at 0x100; $HANDSEED is set to the first free one once all are known.
        group(0, "SECTION"), group(2, "HEADER"), group(9, "$ACADVER"), group(1, "AC1009");
        group(9, "$HANDSEED"), group(5, seedMark), group(0, "ENDSEC");
        group(0, "SECTION"), group(2, "TABLES"), group(0, "TABLE"), group(2, "LAYER"), group(70, "1");
        group(0, "LAYER"), group(2, "0"), group(70, "0"), group(62, "7"), group(6, "CONTINUOUS");
        group(0, "ENDTAB"), group(0, "ENDSEC");
    }
    std::string finish()
    {
        group(0, "ENDSEC"), group(0, "EOF");
        const auto at = out_.find(seedMark);
        char seed[17];
        std::snprintf(seed, sizeof seed, "%llX", static_cast<unsigned long long>(next_));
        out_.replace(at, std::string(seedMark).size(), seed);
        return std::move(out_);
    }
    static std::string number(double value)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.4f", value);
        return text;
    }

private:
    static constexpr const char* seedMark = "@SEED@";
    std::string out_;
    unsigned long long next_ = 0x100;
};

std::u16string ascii(const std::string& text)
{
    return {text.begin(), text.end()};
}

void save(const QString& path, const std::string& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()))
        throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace

std::vector<std::u16string> textDrawingStrings(int count)
{
    std::vector<std::u16string> texts;
    texts.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "W-%05d", i);
        texts.push_back(ascii(text));
    }
    std::mt19937 random(12345);
    std::shuffle(texts.begin(), texts.end(), random);
    return texts;
}

GeneratedDrawing writeTextDrawing(const QString& path, int count)
{
    GeneratedDrawing drawing{path, {}};
    DxfText dxf;
    dxf.head();
    dxf.group(0, "SECTION"), dxf.group(2, "ENTITIES");
    const auto strings = textDrawingStrings(count);
    for (int i = 0; i < count; ++i) {
        const std::string handle = dxf.handle();
        drawing.handles.push_back(ascii(handle));
        dxf.group(0, "TEXT"), dxf.group(5, handle), dxf.group(8, "0");
        dxf.point(10, 40.0 * (i % 100), -5.0 * (i / 100));
        dxf.group(40, "2.5");
        const auto& s = strings[static_cast<size_t>(i)];
        dxf.group(1, std::string(s.begin(), s.end()));
    }
    save(path, dxf.finish());
    return drawing;
}

GeneratedDrawing writeBlockDrawing(const QString& path, int count)
{
    GeneratedDrawing drawing{path, {}};
    DxfText dxf;
    dxf.head();
    dxf.group(0, "SECTION"), dxf.group(2, "BLOCKS");
    dxf.group(0, "BLOCK"), dxf.group(8, "0"), dxf.group(2, "IO8"), dxf.group(70, "2");
    dxf.point(10, 0.0, 0.0);
    for (int t = 1; t <= kTagsPerBlock; ++t) {
        const std::string tag = "TAG" + std::to_string(t);
        dxf.group(0, "ATTDEF"), dxf.group(5, dxf.handle()), dxf.group(8, "0");
        dxf.point(10, 10.0 * t, 0.0);
        dxf.group(40, "2.0"), dxf.group(1, ""), dxf.group(3, tag + "?"), dxf.group(2, tag), dxf.group(70, "0");
    }
    dxf.group(0, "ENDBLK"), dxf.group(8, "0");
    dxf.group(0, "ENDSEC");
    dxf.group(0, "SECTION"), dxf.group(2, "ENTITIES");
    for (int i = 0; i < count; ++i) {
        const std::string handle = dxf.handle();
        drawing.handles.push_back(ascii(handle));
        const double y = -10.0 * i;
        dxf.group(0, "INSERT"), dxf.group(5, handle), dxf.group(8, "0"), dxf.group(66, "1"), dxf.group(2, "IO8");
        dxf.point(10, 0.0, y);
        for (int t = 1; t <= kTagsPerBlock; ++t) {
            dxf.group(0, "ATTRIB"), dxf.group(5, dxf.handle()), dxf.group(8, "0");
            dxf.point(10, 10.0 * t, y);
            dxf.group(40, "2.0");
            dxf.group(1, "V" + std::to_string(i) + "-" + std::to_string(t));
            dxf.group(2, "TAG" + std::to_string(t)), dxf.group(70, "0");
        }
        dxf.group(0, "SEQEND"), dxf.group(5, dxf.handle()), dxf.group(8, "0");
    }
    save(path, dxf.finish());
    return drawing;
}

}  // namespace bench::e2e
