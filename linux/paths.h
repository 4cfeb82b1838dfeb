// Paths as Linux gives them: byte strings whose parts are joined with '/'.
// The trailing-slash rules live here once, so that "/" stays the root and
// no path gets a doubled slash.
#pragma once

#include <string>
#include <string_view>

namespace dorvelix {

// The path without trailing slashes; the root ("/", or "///") stays "/".
inline std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The folder with a slash at its end, added when it has none (the root
// keeps its own).
inline std::string withTrailingSlash(std::string folder)
{
    if (!folder.ends_with('/'))
        folder += '/';
    return folder;
}

// A name below a folder. An empty folder is the top of a relative path: the
// name alone.
inline std::string joinedPath(const std::string& folder, std::string_view name)
{
    if (folder.empty())
        return std::string(name);
    std::string path = withTrailingSlash(folder);
    path += name;
    return path;
}

}  // namespace dorvelix
