// SPDX-License-Identifier: Apache-2.0
// Our English texts for the messages, words and error codes the engine shows by number.
#include "platform/resource_table.h"

namespace ostrel::resources {

const Entry kMessageTexts[] = {
    {13008, u"Mathematical"},
    {13009, u"Trigonometric"},
    {13010, u"Logical"},
    {13011, u"Statistical"},
    {13012, u"Date and time"},
    {13013, u"Text"},
    {13014, u"Financial"},
    {13015, u"Lookup and reference"},
    {13016, u"Information"},
    {13017, u"Database and remote data"},
    {13018, u"Document information"},
    {13020, u"TRUE"},
    {13021, u"FALSE"},
    {13029, u"kg\ng\nm\ncm\nmm\nkm\nl\nh\nmin\ns\npcs"},
    {13033, u"This formula refers to its own cell, directly or through other cells."},
    {13034, u"The formula cannot be read: its brackets do not match."},
    {13035, u"The password is not correct."},
    {13036, u"The cell is locked and the document is protected."},
    {13037, u"The formula cannot refer to a hidden cell of a protected document."},
    {13038, u"A formula cannot serve as the edit source of a cell that is itself an edit source."},
    {13039, u"Recalculate the formulas that read other documents?"},
    {13040, u"The document is protected."},
    {13041, u"The reference is not valid."},
    {13042, u"The formula cannot be read."},
    {13043,
     u"The list separator was the same as the decimal separator; formulas now separate their "
     u"arguments with \"%s\"."},
    {13381, u"#ERROR!"},
    {13382, u"#REF!"},
    {13383, u"#DIV/0!"},
    {13384, u"#VALUE!"},
    {13385, u"#ARG!"},
    {13386, u"#CIRC!"},
    {13387, u"#NUM!"},
    {13388, u"#NAME?"},
    {13389, u"#NULL!"},
    {13390, u"#N/A"},
    {13391, u"#ERR10!"},
    {13392, u"#ERR11!"},
    {13393, u"#ERR12!"},
    {13394, u"#ERR13!"},
    {13395, u"#ERR14!"},
    {13396, u"#ERR15!"},
};
const size_t kMessageTextCount = sizeof(kMessageTexts) / sizeof(kMessageTexts[0]);

}  // namespace ostrel::resources
