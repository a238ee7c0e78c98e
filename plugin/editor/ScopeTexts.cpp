#include "plugin/editor/ScopeTexts.h"

namespace ScopeTexts {

namespace {

using Lines = const char* const[maxLines + 1];

const Lines tips[tipCount] = {
    {"Tip: You can make effect", "sounds by routing LFOs", "with high frequency to", "the input.", nullptr},
    {"Tip: You can create a ", "random patch by clicking", "on the rand button.", nullptr},
    {"Tip: You can read the", "credits by clicking on", "the Zintara logo.", nullptr},
    {"Tip: Use the compressor", "module (under distortion)", "and a delay to create", "infinite echoes.",
     nullptr},
    {"Tip: Modulate the filter-", "type 'delay' to make", "pitch modulation effects.", nullptr},
    {"Tip: Modulate the filter-", "type 'FM' slowly to make", "time modulation effects.", nullptr},
    {"Tip: You can use AM for", "frequency shifting effects.", nullptr},
    {"Tip: The routing type", "'1=L 2=R' is usefull for", "making great stereo", "effects.", nullptr},
    {"Tip: LFO1 and LFO2 can", "modulate each other.", nullptr},
    {"Tip: Delaytypes with fb", "are are routed to", "the input, all others", "are routed to the output.",
     nullptr},
    {"Tip: A right-click on a", "knob assigns it to the next", "incoming Midi controller.", "(Midi learn)",
     nullptr},
    {"Tip: Strg+click on a knob", "resets it to the default", "value.", nullptr},
    {"Tip: Alt+click on a knob", "activates linear knob", "movement.", nullptr},
};

const Lines helpTopics[helpTopicCount] = {
    {"The cutoff controls", "the frequency where the", "spectrum is modified.", nullptr},
    {"Resonance controls the", "amount of modification.", nullptr},
    {"Volume controls the", "output gain.", nullptr},
    {"Dry/wet controls how", "much effect sound is", "mixed with the bypassed", "input.", nullptr},
    {"Distortion adds harmonic", "content by shaping the", "signal.", nullptr},
    {"Routing controls the order", "in which filter1 and", "filter2 are processed.", nullptr},
    {"If LFO sync is switched", "to none this knob controls", "the frequency of the LFO.", nullptr},
    {"LFO sync makes the LFOs", "automatically sync the", "BPM rate.", nullptr},
    {"LFO shape controls the", "shape of the LFO.", "", nullptr},
    {"LFO send controls the", "amount how much the", "LFO modulates the", "destination.", nullptr},
    {"LFO dest assigns to", "which destination the LFO", "is routed.", nullptr},
    {"Envelope time controls", "how fast the envelope", "follower reacts to the", "input signal.", nullptr},
    {"Dest assigns to which", "destination the ", "envelope follower is", "routed.", nullptr},
    {"Env send controls the", "amount how much the", "Envelope follower", "modulates the dest.", nullptr},
    {"Delay send controls", "the amount of feed-", "back.", nullptr},
    {"Delaytypes with a ->", "before are routed to", "the input, with -> behind", "are routed to the output.",
     nullptr},
    {"Delay sync controls", "the time of the delay", "relative to the BPM rate.", nullptr},
    {"You can use the step", "sequencer for creating", "rhythmic patterns.", nullptr},
    {"Midi learn enabled!", "", "The next incoming Midi event", "will be routed to this knob.",
     "Now move your controler...", nullptr},
};

}  // namespace

const char* const* tip(std::int32_t index) {
  return tips[index];
}

const char* const* help(std::int32_t topic) {
  return helpTopics[topic];
}

}  // namespace ScopeTexts
