#include "IncludeRules.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <tuple>

namespace orb::layers {

namespace fs = std::filesystem;

namespace {

struct Layer {
    const char* folder;  // under src/
    int level;
    const char* name;
};
const Layer kLayers[] = {
    {"platform", 0, "platform"},        {"framework", 1, "framework"},  {"external/hostlib", 2, "external"},
    {"external/vendor", 2, "external"}, {"driver", 3, "driver core"},   {"queries", 4, "subsystems"},
    {"config", 4, "subsystems"},        {"nonfiscal", 4, "subsystems"}, {"connection", 4, "subsystems"},
    {"coupon", 4, "subsystems"},        {"readings", 4, "subsystems"},  {"fiscalfiles", 4, "subsystems"},
    {"slips", 4, "subsystems"},         {"exports", 5, "exports"},      {"bridge", 6, "bridge"},
};

// What sim/ and tools/ may reach of src/: whole folders, and the export table's header. tools/
// also reach the bridge, which the command-line host serves its requests with.
const char* const kOpenToTools[] = {"src/platform/", "src/framework/", "src/external/hostlib/"};
const char* const kExportTableHeader = "src/exports/ExportTable.h";
const char* const kBridgeFolder = "src/bridge/";

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// Where a file (relative path) belongs: "src/<folder>", "include", "sim", "tools/<name>", or
// "" for folders without rules.
std::string AreaOf(const std::string& path) {
    std::vector<std::string> parts;
    for (const auto& part : fs::path(path)) parts.push_back(part.string());
    if (parts.size() < 2) return {};
    if (parts[0] == "src") {
        if (parts[1] == "external" && parts.size() > 3) return "src/external/" + parts[2];
        return parts.size() > 2 ? "src/" + parts[1] : std::string();
    }
    if (parts[0] == "include" || parts[0] == "sim") return parts[0];
    if (parts[0] == "tools") return parts.size() > 2 ? "tools/" + parts[1] : std::string();
    return {};
}

const Layer* LayerOf(const std::string& area) {
    for (const Layer& layer : kLayers)
        if (area == std::string("src/") + layer.folder) return &layer;
    return nullptr;
}

struct Include {
    int line;
    std::string name;
    bool quoted;
};

std::vector<Include> IncludesOf(const fs::path& file) {
    static const std::regex directive(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> found;
    std::ifstream in(file);
    int number = 0;
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (std::regex_search(line, m, directive)) found.push_back({number, m[2].str(), m[1].str() == "\""});
    }
    return found;
}

class Checker {
public:
    explicit Checker(fs::path root) : root_(std::move(root)) {}

    std::vector<Violation> Run() {
        for (const char* top : {"src", "include", "sim", "tools"}) {
            if (!fs::is_directory(root_ / top)) continue;
            std::vector<fs::path> files;
            for (const auto& entry : fs::recursive_directory_iterator(root_ / top))
                if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const fs::path& file : files) CheckFile(file);
        }
        ReportCircles();
        std::sort(violations_.begin(), violations_.end(), [](const Violation& a, const Violation& b) {
            return std::tie(a.file, a.line, a.include) < std::tie(b.file, b.line, b.include);
        });
        return violations_;
    }

private:
    struct Edge {
        std::string file;
        int line;
        std::string include;
    };

    static bool IsSource(const fs::path& file) {
        const std::string ext = file.extension().string();
        return ext == ".h" || ext == ".hpp" || ext == ".cpp" || ext == ".inc";
    }

    std::string Relative(const fs::path& file) const { return file.lexically_relative(root_).generic_string(); }

    // The file an include names, relative to the root, as the compiler finds it: a quoted name
    // beside the including file first, then in the include folders of its area.
    std::optional<std::string> Resolve(const std::string& from, const Include& inc) const {
        std::vector<fs::path> folders;
        if (inc.quoted) folders.push_back((root_ / from).parent_path());
        folders.push_back(root_ / "src");
        folders.push_back(root_ / "include");
        const std::string area = AreaOf(from);
        if (area == "sim" || StartsWith(area, "tools/")) folders.push_back(root_ / area);
        for (const fs::path& folder : folders) {
            const fs::path candidate = (folder / inc.name).lexically_normal();
            if (fs::is_regular_file(candidate)) return Relative(candidate);
        }
        return std::nullopt;
    }

    void Add(const std::string& file, int line, const std::string& include, std::string reason) {
        violations_.push_back({file, line, include, std::move(reason)});
    }

    void CheckFile(const fs::path& path) {
        const std::string file = Relative(path);
        const std::string area = AreaOf(file);
        if (StartsWith(area, "src/") && LayerOf(area) == nullptr) {
            Add(file, 0, "", "the folder " + area + " has no place in the layers");
            return;
        }
        for (const Include& inc : IncludesOf(path)) {
            const std::optional<std::string> target = Resolve(file, inc);
            if (!target) {
                if (inc.quoted) Add(file, inc.line, inc.name, "no such file in the tree");
                continue;  // a system header
            }
            if (std::optional<std::string> reason = Refusal(area, *target)) {
                Add(file, inc.line, inc.name, *reason);
                continue;
            }
            const std::string targetArea = AreaOf(*target);
            if (targetArea != area && LayerOf(area) && LayerOf(targetArea))
                edges_[area][targetArea].push_back({file, inc.line, inc.name});
        }
    }

    // Why an include from a file of the area may not reach the target; nothing when it may.
    static std::optional<std::string> Refusal(const std::string& area, const std::string& target) {
        const std::string targetArea = AreaOf(target);
        if (targetArea == area || targetArea == "include") return std::nullopt;
        if (area == "include") return "the public headers include only each other";
        if (area == "sim" || StartsWith(area, "tools/")) {
            const bool tools = area != "sim";
            if (target == kExportTableHeader || (tools && StartsWith(target, kBridgeFolder))) return std::nullopt;
            for (const char* open : kOpenToTools)
                if (StartsWith(target, open)) return std::nullopt;
            return area + " may include only include/, src/platform, src/framework, src/external/hostlib, " +
                   kExportTableHeader + (tools ? " and src/bridge" : "");
        }
        const Layer* from = LayerOf(area);
        const Layer* to = LayerOf(targetArea);
        if (to == nullptr) return area + " may not include " + (targetArea.empty() ? target : targetArea);
        if (to->level > from->level)
            return area + " (" + from->name + ") may not include " + targetArea + ", a higher layer (" + to->name + ")";
        return std::nullopt;
    }

    // A path of folders from one folder to another along the include edges, if there is one.
    std::vector<std::string> PathBetween(const std::string& from, const std::string& to) const {
        std::map<std::string, std::string> cameFrom{{from, ""}};
        std::vector<std::string> queue{from};
        for (std::size_t i = 0; i < queue.size(); ++i) {
            const std::string node = queue[i];
            if (node == to) {
                std::vector<std::string> path;
                for (std::string at = to; !at.empty(); at = cameFrom[at]) path.insert(path.begin(), at);
                return path;
            }
            auto out = edges_.find(node);
            if (out == edges_.end()) continue;
            for (const auto& [next, unused] : out->second)
                if (cameFrom.emplace(next, node).second) queue.push_back(next);
        }
        return {};
    }

    // Every include from one folder to another that the other reaches back.
    void ReportCircles() {
        for (const auto& [from, targets] : edges_) {
            for (const auto& [to, includes] : targets) {
                const std::vector<std::string> back = PathBetween(to, from);
                if (back.empty()) continue;
                std::string circle = from;
                for (const std::string& folder : back) circle += " -> " + folder;
                for (const Edge& e : includes) Add(e.file, e.line, e.include, "include circle " + circle);
            }
        }
    }

    fs::path root_;
    std::vector<Violation> violations_;
    std::map<std::string, std::map<std::string, std::vector<Edge>>> edges_;  // folder -> folder -> includes
};

}  // namespace

std::vector<Violation> CheckIncludeRules(const fs::path& root) { return Checker(root).Run(); }

std::string Describe(const Violation& v) {
    if (v.line == 0) return v.file + ": " + v.reason;
    return v.file + ":" + std::to_string(v.line) + ": #include \"" + v.include + "\": " + v.reason;
}

}  // namespace orb::layers
