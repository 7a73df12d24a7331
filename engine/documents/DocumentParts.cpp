#include "documents/DocumentParts.h"

#include "Failure.h"

namespace varnex {

XmlPart* DocumentParts::Find(const std::string& name) {
    const auto index = package_.Find(name);
    if (!index) return nullptr;
    const std::string& entry = package_.Entries()[*index].name;
    const auto found = parts_.find(entry);
    if (found != parts_.end()) return found->second.get();
    // parsed before it is kept: a part that cannot be read leaves nothing behind
    auto part = std::make_unique<XmlPart>(entry, package_.Read(*index), package_.ShownName());
    return parts_.emplace(entry, std::move(part)).first->second.get();
}

XmlPart& DocumentParts::Require(const std::string& name) {
    XmlPart* part = Find(name);
    if (!part)
        throw Failure(kBadFileFormat,
                      package_.ShownName() + ": damaged package: the part " + name + " is missing");
    return *part;
}

bool DocumentParts::Changed(const std::string& entryName) const {
    const auto found = parts_.find(entryName);
    return found != parts_.end() && found->second && found->second->Changed();
}

std::string DocumentParts::TakeSerialized(const std::string& entryName) {
    const auto found = parts_.find(entryName);
    std::string text = found->second->Serialized();
    parts_.erase(found);
    return text;
}

void DocumentParts::Rename(pugi::xml_attribute attribute, XmlPart& part, bool family) {
    if (attribute) renames_.emplace(attribute.internal_object(), Renaming{&part, family});
}

void DocumentParts::ApplyRenames(const std::string& name) {
    const bool blank = name.find(' ') != std::string::npos;
    for (const auto& [attribute, rename] : renames_) {
        pugi::xml_attribute handle(attribute);
        const std::string value = rename.family && blank ? "'" + name + "'" : name;
        if (value == handle.value()) continue;
        handle.set_value(value.c_str());
        rename.part->MarkChanged();
    }
}

}  // namespace varnex
