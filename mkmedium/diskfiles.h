// Files of the build machine. Paths are std::filesystem paths made from
// UTF-8 (a Linux build tree names its files in UTF-8; on Windows the path
// is UTF-16), so that a CP932 name on the medium lands as the name that
// Wine or Windows finds when the setup asks for the CP932 bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// The path of a UTF-8 text; "\" and "/" both separate folders.
std::filesystem::path PathFromUtf8(const std::string& utf8);
// The same for a CP932 text; false when it is not CP932.
bool PathFromCp932(const std::string& cp932, std::filesystem::path* path);
// The path in UTF-8, for messages.
std::string ShowPath(const std::filesystem::path& path);

bool ReadWholeFile(const std::filesystem::path& path, Bytes* bytes);
bool WriteWholeFile(const std::filesystem::path& path, const Bytes& bytes);

// The file under folder whose relative path matches relative, letter case
// of each part aside (Wine and Windows find names so); false when there is
// none.
bool FindFileNoCase(const std::filesystem::path& folder, const std::filesystem::path& relative,
                    std::filesystem::path* found);
