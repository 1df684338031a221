#include "Row.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <cstdio>
#include <stdexcept>

namespace bench::e2e {

void writeJson(const std::vector<Row>& rows, const std::string& path)
{
    QJsonArray array;
    for (const Row& r : rows) {
        QJsonObject o;
        o["name"] = QString::fromStdString(r.name);
        o["title"] = QString::fromStdString(r.title);
        o["client"] = QString::fromStdString(r.client);
        o["entities"] = static_cast<double>(r.entities);
        o["unit"] = QString::fromStdString(r.unit);
        o["wall_ms"] = r.wallMs;
        o["round_trips"] = static_cast<double>(r.roundTrips);
        o["service_requests"] = static_cast<double>(r.serviceRequests);
        o["ui_cpu_ms"] = r.uiCpuMs;
        o["cad_cpu_ms"] = r.cadCpuMs;
        o["cad_longest_repaint_ms"] = r.cadLongestRepaintMs;
        o["pumps"] = r.pumps;
        o["longest_gap_ms"] = r.longestGapMs;
        o["longest_gap_end_ms"] = r.longestGapEndMs;
        o["ticks"] = r.ticks;
        o["ui_peak_mib"] = r.uiPeakMiB;
        o["cad_peak_mib"] = r.cadPeakMiB;
        o["objects_before"] = static_cast<double>(r.objectsBefore);
        o["objects_after"] = static_cast<double>(r.objectsAfter);
        o["objects_settled"] = static_cast<double>(r.objectsSettled);
        o["check"] = QString::fromStdString(r.check);
        array.append(o);
    }
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path);
    file.write(QJsonDocument(array).toJson());
}

void printMarkdown(const std::vector<Row>& rows)
{
    std::printf("| Operation | Client | n | Wall ms | Round trips | per entity | Own CPU µs/entity | "
                "KelvoCAD CPU µs/entity | Longest tick gap ms | Peak MiB (edit / cad) | Objects | Check |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const Row& r : rows) {
        const double n = r.entities > 0 ? static_cast<double>(r.entities) : 1.0;
        std::printf("| %s | %s | %lld %s | %.1f | %lld | %.3f | %.1f | %.1f | %.1f%s | %.0f / %.0f | %lld→%lld→%lld | %s |\n",
                    r.title.c_str(), r.client.c_str(), static_cast<long long>(r.entities), r.unit.c_str(), r.wallMs,
                    static_cast<long long>(r.roundTrips), r.roundTrips >= 0 ? static_cast<double>(r.roundTrips) / n : -1.0,
                    r.uiCpuMs * 1e3 / n, r.cadCpuMs * 1e3 / n, r.longestGapMs, r.pumps ? "" : " (no pumping)",
                    r.uiPeakMiB, r.cadPeakMiB, static_cast<long long>(r.objectsBefore),
                    static_cast<long long>(r.objectsAfter), static_cast<long long>(r.objectsSettled),
                    r.check.empty() ? "ok" : r.check.c_str());
    }
    std::fflush(stdout);
}

}  // namespace bench::e2e
