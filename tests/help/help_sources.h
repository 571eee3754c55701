// Reading the help project's sources the way the help viewer will: the tags of a page or of a
// sitemap (.hhc contents, .hhk index), the links they hold, and where a link leads inside the
// compiled file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelvaran::help {

struct Tag {
    std::string Name;                                            // lower case
    std::vector<std::pair<std::string, std::string>> Attributes; // names lower case
    [[nodiscard]] std::optional<std::string> Attribute(std::string_view name) const;
};

// Every start tag of an HTML text, comments skipped, attribute values with &amp; and the like
// decoded.
[[nodiscard]] std::vector<Tag> ParseTags(std::string_view html);

// The values of every href= and src= attribute, in document order.
[[nodiscard]] std::vector<std::string> LinkValues(std::string_view html);

// The Local values of a sitemap's <param name="Local" value="..."> entries.
[[nodiscard]] std::vector<std::string> SitemapLocals(std::string_view sitemap);

// Whether an anchor of this name exists: <a name="..."> or any element's id="...".
[[nodiscard]] bool DefinesAnchor(std::string_view html, std::string_view anchor);

// Links to the web and to mail leave the help file and are not checked.
[[nodiscard]] bool IsExternal(std::string_view link);

// "page.htm#part" -> {"page.htm", "part"}; no '#' gives an empty fragment.
[[nodiscard]] std::pair<std::string, std::string> SplitFragment(std::string_view link);

// The name inside the compiled file ("/page.htm") that a link written in the page `fromEntry`
// reaches. An empty target is the page itself. Nothing for a link with any other scheme, an
// absolute file path, or one that climbs above the root.
[[nodiscard]] std::optional<std::string> ResolveLink(std::string_view fromEntry,
                                                     std::string_view target);

// The value of a key of the [OPTIONS] section of an .hhp project ("Default topic=inicio.htm").
[[nodiscard]] std::optional<std::string> ProjectOption(std::string_view project,
                                                       std::string_view key);

[[nodiscard]] std::optional<std::string> ReadText(const std::filesystem::path& path);

} // namespace zelvaran::help
