// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/tpagemodel.h"

#include <string>

// Text dump of a read page, one line per item (Windows-1252, "\n" line ends):
//   title "<title>"
//   word "<text>"[ tab=<n>%| tab=<n>px] | <style>     space | <style>     br | <style>
//   p | <style>     box <n> | <style>     img <picture> | <style>
// <style> is "b= i= u= align= face= size= color= bgcolor= link= widget= group= pre=":
// flags 0/1; align left/center/right/justify; face quoted; colours #RRGGBB, i<n> (palette),
// "text" and "link" (the page's colours); bgcolor "-" when no background is drawn; link,
// widget and group "-" for none, widget gap<n> or drag<n>. In quoted texts " and \ are
// escaped with \, control characters as \r, \t or \xNN.
std::string dumpItem(const TPageModel& page, const TPageItem& item);
std::string dumpItems(const TPageModel& page);
// The boxes, pictures, links, maps, widget records and page colours, one line each; box
// widths and heights of 0 or less are also shown resolved against the page size.
std::string dumpRecords(const TPageModel& page, int pageWidth = 800, int pageHeight = 572);

std::string colorText(TColor color);
