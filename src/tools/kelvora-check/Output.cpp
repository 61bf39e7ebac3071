#include "Output.h"

#include <nlohmann/json.hpp>

#include "platform/Text.h"

namespace check {

namespace {

std::string U8(const std::u16string& s) { return text::ToUtf8(s); }

std::string Origin(const SettingRow& row) {
    return row.line ? "Information.txt line " + std::to_string(row.line) : "built-in default";
}

std::string Place(const Finding& f) {
    if (f.file.empty()) return "";
    return U8(f.file) + (f.line ? ":" + std::to_string(f.line) : std::string()) + ": ";
}

}  // namespace

std::string FormatText(const Report& report) {
    std::string out;
    out += "Distribution folder: " + U8(report.distributionFolder) + "\n\n";
    out += "Effective settings\n";
    for (const SettingRow& row : report.settings)
        out += "  " + U8(row.name) + " = \"" + U8(row.value) + "\"  (" + Origin(row) + ")\n";
    out += "Derived\n";
    for (const DerivedRow& row : report.derived) out += "  " + U8(row.name) + " = \"" + U8(row.value) + "\"\n";

    out += "\nFindings\n";
    if (report.findings.empty()) out += "  none\n";
    for (const Finding& f : report.findings) {
        out += "  " + std::string(SeverityName(f.severity)) + ": " + Place(f) + U8(f.message) + "\n";
        if (!f.fix.empty()) out += "    fix: " + U8(f.fix) + "\n";
    }

    const auto ticked = [](bool on) { return on ? "ticked" : "not ticked"; };
    const std::string tasks = report.desktopShortcut && report.startMenuShortcut
                                  ? "both shortcuts ticked"
                                  : std::string("desktop shortcut ") + ticked(report.desktopShortcut) +
                                        ", start-menu shortcut " + ticked(report.startMenuShortcut);
    out += std::string("\nPlan (") + (report.updateMode ? "update mode" : "installation, " + tasks) + ")\n";
    int n = 0;
    for (const PlanStep& step : report.plan) {
        out += "  " + std::to_string(++n) + ". " + U8(step.action);
        if (!step.detail.empty()) out += " [" + U8(step.detail) + "]";
        out += "\n";
        for (const std::u16string& line : step.logLines) out += "       log: " + U8(line) + "\n";
    }
    const int code = report.ExitCode();
    out += std::string("\nResult: ") + (code == 0 ? "clean" : code == 1 ? "warnings" : "errors") + " (exit code " +
           std::to_string(code) + ")\n";
    return out;
}

std::string FormatJson(const Report& report) {
    nlohmann::ordered_json doc;
    doc["distributionFolder"] = U8(report.distributionFolder);
    nlohmann::ordered_json settings = nlohmann::ordered_json::array();
    for (const SettingRow& row : report.settings) {
        nlohmann::ordered_json item;
        item["name"] = U8(row.name);
        item["value"] = U8(row.value);
        item["origin"] = row.line ? "Information.txt" : "default";
        if (row.line) item["line"] = row.line;
        settings.push_back(item);
    }
    doc["settings"] = settings;
    nlohmann::ordered_json derived = nlohmann::ordered_json::object();
    for (const DerivedRow& row : report.derived) derived[U8(row.name)] = U8(row.value);
    doc["derived"] = derived;
    doc["updateMode"] = report.updateMode;

    nlohmann::ordered_json findings = nlohmann::ordered_json::array();
    for (const Finding& f : report.findings) {
        nlohmann::ordered_json item;
        item["severity"] = SeverityName(f.severity);
        item["file"] = U8(f.file);
        item["line"] = f.line;
        item["message"] = U8(f.message);
        if (!f.fix.empty()) item["fix"] = U8(f.fix);
        findings.push_back(item);
    }
    doc["findings"] = findings;

    nlohmann::ordered_json plan = nlohmann::ordered_json::array();
    for (const PlanStep& step : report.plan) {
        nlohmann::ordered_json item;
        item["action"] = U8(step.action);
        if (!step.detail.empty()) item["detail"] = U8(step.detail);
        nlohmann::ordered_json lines = nlohmann::ordered_json::array();
        for (const std::u16string& line : step.logLines) lines.push_back(U8(line));
        item["log"] = lines;
        plan.push_back(item);
    }
    doc["plan"] = plan;
    doc["copy"] = {{"files", report.copyFiles}, {"folders", report.copyFolders}, {"bytes", report.copyBytes}};
    doc["exitCode"] = report.ExitCode();
    return doc.dump(2) + "\n";
}

}  // namespace check
