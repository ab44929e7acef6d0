#pragma once

#include <string>

namespace Kramo {

// File names of the seller files inside the data directory. The store knows each seller's file
// from its header; the name's ID, code and name are there for people browsing the folder.

// "%i-%s-%s.txt" with ID, code and name made safe for a file name: path separators, control
// characters and the characters other systems refuse become '_', and long texts are cut, so
// neither a name nor a code can leave the directory or make the file name invalid.
std::string SellerFileName(int sellerId, const std::string& shortCode, const std::string& name);

// Where a seller's new content is written before it replaces the file: the start of the name,
// to which the writer adds "." and six random characters. It must not end in ".txt", or the
// start-up load would take a half-written file for a seller.
std::string SellerTemporaryFileName(int sellerId);

// True for a temporary file the writer made, left behind by a program that was killed.
bool IsSellerTemporaryFileName(const std::string& name);

// The subfolder of the data folder where a second file of one seller is set aside at start.
constexpr const char* SetAsideFolderName = "odlozene";

}  // namespace Kramo
