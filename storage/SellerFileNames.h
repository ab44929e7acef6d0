#pragma once

#include <string>

namespace Kramo {

// File names of the seller files inside the data directory. Only the seller's ID identifies
// its file ("%i-*.txt"); code and name are there for people browsing the folder.

// "%i-%s-%s.txt" with ID, code and name made safe for a file name: path separators, control
// characters and the characters other systems refuse become '_', and long texts are cut, so
// neither a name nor a code can leave the directory or make the file name invalid.
std::string SellerFileName(int sellerId, const std::string& shortCode, const std::string& name);

// The wildcard pattern that finds the file of a seller whatever its code and name.
std::string SellerFilePattern(int sellerId);

// Where a seller's new content is written before it replaces the file. It must not end in
// ".txt", or the start-up load would take a half-written file for a seller.
std::string SellerTemporaryFileName(int sellerId);

}  // namespace Kramo
