#include "help_sources.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <memory>

#include <libxml/HTMLparser.h>

namespace zelvaran::help {
namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), Lower);
    return out;
}

std::string DecodePercent(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Every element below `node`, in document order.
void CollectTags(const xmlNode* node, std::vector<Tag>& tags) {
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) {
            continue;
        }
        Tag tag{ToLower(reinterpret_cast<const char*>(node->name)), {}};
        for (const xmlAttr* attribute = node->properties; attribute != nullptr;
             attribute = attribute->next) {
            const std::unique_ptr<xmlChar, decltype(xmlFree)> value(
                xmlNodeListGetString(node->doc, attribute->children, 1), xmlFree);
            tag.Attributes.emplace_back(ToLower(reinterpret_cast<const char*>(attribute->name)),
                                        value ? reinterpret_cast<const char*>(value.get()) : "");
        }
        tags.push_back(std::move(tag));
        CollectTags(node->children, tags);
    }
}

} // namespace

std::optional<std::string> Tag::Attribute(std::string_view name) const {
    for (const auto& [key, value] : Attributes) {
        if (key == name) {
            return value;
        }
    }
    return std::nullopt;
}

std::vector<Tag> ParseTags(std::string_view html) {
    // Parsed as the viewer's engine would: comments, character references, unquoted values and
    // markup inside quotes as HTML has them. The sources are in Windows-1252.
    const std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> document(
        htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "windows-1252",
                       HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET),
        &xmlFreeDoc);
    std::vector<Tag> tags;
    if (document) {
        CollectTags(xmlDocGetRootElement(document.get()), tags);
    }
    return tags;
}

std::vector<std::string> LinkValues(std::string_view html) {
    std::vector<std::string> links;
    for (const Tag& tag : ParseTags(html)) {
        for (const auto& [key, value] : tag.Attributes) {
            if (key == "href" || key == "src") {
                links.push_back(value);
            }
        }
    }
    return links;
}

std::vector<std::string> SitemapLocals(std::string_view sitemap) {
    std::vector<std::string> locals;
    for (const Tag& tag : ParseTags(sitemap)) {
        const auto name = tag.Attribute("name");
        const auto value = tag.Attribute("value");
        if (tag.Name == "param" && name && value && ToLower(*name) == "local") {
            locals.push_back(*value);
        }
    }
    return locals;
}

bool DefinesAnchor(std::string_view html, std::string_view anchor) {
    const auto tags = ParseTags(html);
    return std::any_of(tags.begin(), tags.end(), [anchor](const Tag& tag) {
        return tag.Attribute("id") == anchor ||
               (tag.Name == "a" && tag.Attribute("name") == anchor);
    });
}

bool IsExternal(std::string_view link) {
    const std::string lower = ToLower(link);
    return lower.starts_with("http:") || lower.starts_with("https:") ||
           lower.starts_with("mailto:");
}

std::pair<std::string, std::string> SplitFragment(std::string_view link) {
    const std::size_t hash = link.find('#');
    if (hash == std::string_view::npos) {
        return {std::string(link), {}};
    }
    return {std::string(link.substr(0, hash)), std::string(link.substr(hash + 1))};
}

std::optional<std::string> ResolveLink(std::string_view fromEntry, std::string_view target) {
    const std::string path = DecodePercent(target);
    if (path.find(':') != std::string::npos || path.starts_with("/") ||
        path.find('\\') != std::string::npos) {
        return std::nullopt;
    }
    if (path.empty()) {
        return std::string(fromEntry);
    }
    // Folders of the page that holds the link, then the link's own steps.
    std::vector<std::string> parts;
    const auto addSteps = [&parts](std::string_view steps, bool lastIsFile) {
        std::size_t start = 0;
        while (start <= steps.size()) {
            const std::size_t slash = std::min(steps.find('/', start), steps.size());
            const std::string_view step = steps.substr(start, slash - start);
            const bool isLast = slash == steps.size();
            start = slash + 1;
            if (isLast && !lastIsFile) {
                break;
            }
            if (step == "..") {
                if (parts.empty()) {
                    return false;
                }
                parts.pop_back();
            } else if (!step.empty() && step != ".") {
                parts.emplace_back(step);
            }
        }
        return true;
    };
    if (!addSteps(fromEntry.substr(1), false) || !addSteps(path, true)) {
        return std::nullopt;
    }
    std::string name;
    for (const std::string& part : parts) {
        name += "/" + part;
    }
    return name.empty() ? std::nullopt : std::optional<std::string>(name);
}

std::optional<std::string> ProjectOption(std::string_view project, std::string_view key) {
    bool inOptions = false;
    std::size_t start = 0;
    while (start < project.size()) {
        const std::size_t end = std::min(project.find('\n', start), project.size());
        std::string_view line = project.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.starts_with("[")) {
            inOptions = ToLower(line) == "[options]";
        } else if (inOptions && line.size() > key.size() && line[key.size()] == '=' &&
                   ToLower(line.substr(0, key.size())) == ToLower(key)) {
            return std::string(line.substr(key.size() + 1));
        }
    }
    return std::nullopt;
}

std::optional<std::string> ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace zelvaran::help
