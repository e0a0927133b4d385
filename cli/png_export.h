#pragma once

#include <string>

class CStampStore;
struct ReportOptions;

// Saves the graph of the store (the calendar for --view dates) as the window would paint it, as
// a PNG file. Runs Qt on its
// offscreen platform, so no display is needed. Returns an error text, or "" on success.
std::string SaveGraphPng(const CStampStore& store, const ReportOptions& options);
