#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes every sound of TSoundRecipes as name.wav into a folder (data/sounds) and the listing
// for review: each sound's name, length, peak and mean (RMS) level.
namespace TSoundGenerator {
constexpr const char* listingName = "LISTING.txt";

// The 16-bit samples of the recipe of that name (empty for an unknown name).
std::vector<int16_t> Make(const std::string& name);
// One line of the listing for the samples.
std::string ListingLine(const std::string& name, const std::vector<int16_t>& samples, bool loop);
// Every file and the listing (folder/LISTING.txt); false when one could not be written.
bool WriteAll(const std::string& folder);
}  // namespace TSoundGenerator
