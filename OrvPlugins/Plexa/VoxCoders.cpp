#include "VoxCoders.h"

#include "AmrAdaptor.h"
#include "GsmHr/GsmHrAdaptor.h"
#include "VoxVocoders.h"

int VoxCoderNothing(VoxFrame&)
{
    return 0;
}

bool SelectVoxEncoder(int vocoderId, VoxCoderOps& ops)
{
    if (IsAmrVocoder(vocoderId)) {
        ops = {PlexaAmr::Encoder_Interface_init, PlexaAmr::Encoder_Interface_Encode, PlexaAmr::Encoder_Interface_exit};
        return true;
    }
    if (vocoderId == VocoderGsmHr) {
        ops = {GsmHrEncoderInit, GsmHrEncodeFrame, GsmHrEncoderRelease};
        return true;
    }
    return false;
}

bool SelectVoxDecoder(int vocoderId, VoxCoderOps& ops)
{
    if (IsAmrVocoder(vocoderId)) {
        ops = {PlexaAmr::Decoder_Interface_init, PlexaAmr::Decoder_Interface_Decode, PlexaAmr::Decoder_Interface_exit};
        return true;
    }
    if (vocoderId == VocoderGsmHr) {
        ops = {GsmHrDecoderInit, GsmHrDecodeFrame, GsmHrDecoderRelease};
        return true;
    }
    return false;
}
