#include "config/parameters_xml.h"

#include "config/parameter_catalogue.h"
#include "config/parameter_display.h"
#include "config/parameter_elements.h"
#include "config/parameter_registries.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/run_state.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "foundation/version_data.h"
#include "foundation/xml_helpers.h"

#include <fmt/format.h>

#include <filesystem>
#include <vector>

namespace mrw {

namespace {

namespace fs = std::filesystem;

const char* lf_boolText(bool value) {
    return value ? "true" : "false";
}

std::string lf_boolLine(const std::string& name, bool value) {
    return fmt::format("{}={}", name, lf_boolText(value));
}
std::string lf_intLine(const std::string& name, std::int32_t value) {
    return fmt::format("{}={}", name, value);
}
std::string lf_textLine(const std::string& name, const std::string& value) {
    return fmt::format("{}=\"{}\"", name, value);
}

// Appends the element; on failure the write-failure line (unless closing down).
void lf_writeElement(pugi::xml_node& parameters, const std::string& name, const std::string& value,
                     std::string_view shownValue) {
    if (!gf_appendStringParameter(parameters, name, value)) {
        gf_logLineUnlessClosing(
            fmt::format("{}adding xml parameter {} with {} failed!", "===> ", name, shownValue));
    }
}

pugi::xml_parse_result lf_loadFile(pugi::xml_document& document) {
    return document.load_file(g_parametersFile().c_str(), pugi::parse_default, pugi::encoding_auto);
}

// Saves the document over parameters.xml (temporary file renamed over it); a failure is logged.
void lf_saveDocument(pugi::xml_document& document) {
    if (!gf_saveXmlWithDeclaration(document, g_parametersFile())) {
        gf_logError(fmt::format("saving: {} failed", path_to_utf8(g_parametersFile())));
    }
}

// An existing file that does not parse is kept as parameters0.xml before anything replaces it.
void lf_keepUnparsable(const pugi::xml_parse_result& result) {
    if (result || result.status == pugi::status_file_not_found) return;
    gf_save1GenerationOf(g_parametersFile());
    gf_logError(fmt::format("{} failed to load ({}). Saved as 0.xml", path_to_utf8(g_parametersFile()),
                            result.description()));
}

std::string lf_closingBanner() {
    return gf_starBanner(70, 10, false, true, "");
}

// The check boxes, combo boxes and text controls of the registries show their current values.
// Called without the file's mutex (see the header).
void lf_refreshControls() {
    for (const CheckBoxParameter* p : g_checkBoxParameters()) {
        if (p != nullptr) p->showCheck();
    }
    for (const IntComboParameter* p : g_intComboParameters()) {
        if (p != nullptr) gf_showIntParameter(*p);
    }
    for (const ControlParameter* p : g_controlStringParameters()) {
        if (p != nullptr) gf_showStringParameter(*p);
    }
}

// The save-all; the caller holds the file's mutex.
void lf_saveAllLocked(bool writeDefaults) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("root");
    if (writeDefaults) g_parameters().PROGRAM_VERSION.defaultValue.set(g_programVersion.toString());
    pugi::xml_node parameters = root.append_child("parameters");
    if (!parameters) return;
    const auto writeAll = [&](const auto& registry) {
        for (const auto* p : registry) {
            if (p != nullptr) p->write(parameters, writeDefaults);
        }
    };
    writeAll(g_boolParameters());
    writeAll(g_checkBoxParameters());
    writeAll(g_intParameters());
    writeAll(g_intComboParameters());
    writeAll(g_stringParameters());
    writeAll(g_controlStringParameters());
    lf_saveDocument(document);
}

void lf_loadBools(pugi::xml_document& document, pugi::xml_node& parameters, const auto& registry) {
    for (auto* p : registry) {
        if (p == nullptr || p->load(document)) continue;
        gf_appendBoolParameter(parameters, p->name, p->current.load());
    }
}

void lf_loadInts(pugi::xml_document& document, pugi::xml_node& parameters, const auto& registry) {
    for (IntParameter* p : registry) {
        if (p == nullptr) continue;
        const auto stored = gf_readIntParameter(document, p->name);
        p->current = stored ? p->clamp(*stored) : p->defaultValue;
        p->log();
        if (!stored) gf_appendIntParameter(parameters, p->name, p->current.load());
    }
}

void lf_loadTexts(pugi::xml_document& document, pugi::xml_node& parameters, const auto& registry) {
    for (StringParameter* p : registry) {
        if (p == nullptr || p->load(document)) continue;
        gf_appendStringParameter(parameters, p->name, p->current.get());
    }
}

// The load under the file's mutex; true when defaults were written.
bool lf_loadLocked() {
    pugi::xml_document document;
    const pugi::xml_parse_result result = lf_loadFile(document);
    const std::string pathText = path_to_utf8(g_parametersFile());
    pugi::xml_node parameters;
    if (result) {
        gf_logLine(fmt::format("from '{}'", pathText));
        parameters = gf_parametersElementOf(document);
    }
    if (!parameters) {
        lf_keepUnparsable(result);
        gf_logLine(fmt::format("{} not found, creating new with default values:", pathText));
        lf_saveAllLocked(true);
        return true;
    }
    lf_loadBools(document, parameters, g_boolParameters());
    lf_loadBools(document, parameters, g_checkBoxParameters());
    lf_loadInts(document, parameters, g_intParameters());
    lf_loadInts(document, parameters, g_intComboParameters());
    lf_loadTexts(document, parameters, g_stringParameters());
    lf_loadTexts(document, parameters, g_controlStringParameters());
    lf_saveDocument(document);
    return false;
}

// The save of one value: every element of that name gets the value, one is appended when there is
// none; an old-format file is wrapped under a new root with everything it holds; a missing or
// unparsable file (kept as parameters0.xml) is replaced by one holding this value.
void lf_saveOneValue(const std::string& name, const std::string& value, const std::string& valueLine) {
    MutexLock lock(g_parametersFileMutex());
    pugi::xml_document document;
    const pugi::xml_parse_result result = lf_loadFile(document);
    if (result) {
        pugi::xml_node root = document.child("root");
        const bool oldFormat = !root;
        pugi::xml_node owner = oldFormat ? pugi::xml_node(document) : root;
        pugi::xml_node parameters = owner.child("parameters");
        if (!parameters) parameters = owner.append_child("parameters");
        bool matched = false;
        for (pugi::xml_node element : parameters.children("parameter")) {
            if (name != element.attribute("name").value()) continue;
            gf_setOrAppendAttribute(element, "value", value);
            matched = true;
        }
        if (!matched) gf_appendStringParameter(parameters, name, value);
        gf_logLineUnlessClosing(valueLine);
        if (oldFormat) gf_wrapParametersRoot(document);
    } else {
        lf_keepUnparsable(result);
        document.reset();
        pugi::xml_node parameters = document.append_child("root").append_child("parameters");
        gf_appendStringParameter(parameters, name, value);
        gf_logLineUnlessClosing(valueLine);
    }
    lf_saveDocument(document);
}

}  // namespace

Mutex& g_parametersFileMutex() {
    static auto* mutex = new Mutex();  // never destroyed: see the header
    return *mutex;
}

void gf_logLineUnlessClosing(std::string_view text) {
    if (!gf_stopping()) gf_logLine(text);
}

bool BoolParameter::load(const pugi::xml_node& document) {
    const auto stored = gf_readBoolParameter(document, name);
    current = stored.value_or(defaultValue);
    log();
    return stored.has_value();
}

void BoolParameter::write(pugi::xml_node& parameters, bool writeDefaults) const {
    const bool value = writeDefaults ? defaultValue : current.load();
    lf_writeElement(parameters, name, lf_boolText(value), lf_boolText(current.load()));
    log();
}

void BoolParameter::log() const {
    gf_logLineUnlessClosing(lf_boolLine(name, current.load()));
}

void BoolParameter::save() const {
    const bool value = current.load();
    lf_saveOneValue(name, lf_boolText(value), lf_boolLine(name, value));
}

void IntParameter::write(pugi::xml_node& parameters, bool writeDefaults) const {
    const std::int32_t value = writeDefaults ? defaultValue : current.load();
    lf_writeElement(parameters, name, fmt::format("{}", value), fmt::format("{}", current.load()));
    log();
}

void IntParameter::log() const {
    gf_logLineUnlessClosing(lf_intLine(name, current.load()));
}

void IntParameter::save() const {
    const std::int32_t value = current.load();
    lf_saveOneValue(name, fmt::format("{}", value), lf_intLine(name, value));
}

bool StringParameter::load(const pugi::xml_node& document) {
    const auto stored = gf_readStringParameter(document, name);
    current.set(stored ? *stored : defaultValue.get());
    log();
    return stored.has_value();
}

void StringParameter::write(pugi::xml_node& parameters, bool writeDefaults) const {
    const std::string text = current.get();
    lf_writeElement(parameters, name, writeDefaults ? defaultValue.get() : text, fmt::format("\"{}\"", text));
    log();
}

void StringParameter::log() const {
    gf_logLineUnlessClosing(lf_textLine(name, current.get()));
}

void StringParameter::save() const {
    const std::string text = current.get();
    lf_saveOneValue(name, text, lf_textLine(name, text));
}

void StringParameter::setAndSave(std::string text) {
    current.set(std::move(text));
    save();
}

bool gf_loadParameters() {
    gf_logLine(gf_starBanner(70, 0, true, false, "parameters"));
    bool defaultsWritten = false;
    {
        MutexLock lock(g_parametersFileMutex());
        defaultsWritten = lf_loadLocked();
    }
    lf_refreshControls();
    gf_logLine(lf_closingBanner());
    return defaultsWritten;
}

void gf_saveParameters(bool writeDefaults) {
    {
        MutexLock lock(g_parametersFileMutex());
        lf_saveAllLocked(writeDefaults);
    }
    lf_refreshControls();
    gf_logLine(lf_closingBanner());
}

void gf_wrapParametersRoot(pugi::xml_document& document) {
    gf_logLine("\nPlacing a root level around a new parameters.xml to make it 100% xml compliance\n");
    std::vector<pugi::xml_node> nodes;
    for (pugi::xml_node node : document.children()) {
        if (node.type() != pugi::node_declaration && node.type() != pugi::node_doctype) nodes.push_back(node);
    }
    pugi::xml_node root = document.append_child("root");
    for (const pugi::xml_node& node : nodes)
        root.append_move(node);
}

pugi::xml_parse_result gf_loadParametersDocument(pugi::xml_document& document) {
    MutexLock lock(g_parametersFileMutex());
    return lf_loadFile(document);
}

}  // namespace mrw
