#pragma once

// The values the window starts with and the report command takes when it is not told
// otherwise; its --help quotes them from here.

// Density at the top edge of the graph, and its limits: a drag makes a full scale of at most
// 1 into 1, then one of at least 999 into 999.
inline constexpr double kDefaultFullScale = 6.5;
inline constexpr double kSmallestFullScale = 1.0;
inline constexpr double kLargestFullScale = 999.0;
// The averaging slider's position, 0 to 100; the window is twice as many bins.
inline constexpr int kDefaultAveragingPosition = 50;
// Threads reading the folder tree, the calling one included.
inline constexpr int kDefaultJobs = 16;
// The size of a picture the report command saves, in pixels.
inline constexpr int kDefaultPictureWidth = 800;
inline constexpr int kDefaultPictureHeight = 500;
