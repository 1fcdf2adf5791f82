// The one application id: D-Bus name, desktop entry, metainfo and icons.
#pragma once

namespace bbcolour::desktop {

inline constexpr char kAppId[] = "io.github.bbcolour.BBColour";
inline constexpr char kCopyObjectPath[] = "/io/github/bbcolour/BBColour";
inline constexpr char kCopyInterface[] = "io.github.bbcolour.BBColour";

}  // namespace bbcolour::desktop
