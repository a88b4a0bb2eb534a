#include "VoxCoders.h"

#include "AmrAdaptor.h"
#include "VoxVocoders.h"

int VoxCoderNothing(VoxFrame&)
{
    return 0;
}

bool SelectVoxEncoder(int vocoderId, VoxCoderOps& ops)
{
    if (IsAmrVocoder(vocoderId))
    {
        ops = {PlexaAmr::Encoder_Interface_init, PlexaAmr::Encoder_Interface_Encode,
               PlexaAmr::Encoder_Interface_exit};
        return true;
    }
    // VocoderGsmHr is listed but has no coder yet: its encoder (init, frame
    // encoder, VoxCoderNothing) plugs in here. gsm_fr and gsm_efr have none.
    return false;
}

bool SelectVoxDecoder(int vocoderId, VoxCoderOps& ops)
{
    if (IsAmrVocoder(vocoderId))
    {
        ops = {PlexaAmr::Decoder_Interface_init, PlexaAmr::Decoder_Interface_Decode,
               PlexaAmr::Decoder_Interface_exit};
        return true;
    }
    // VocoderGsmHr: its decoder (reset, frame decoder, VoxCoderNothing) plugs in here.
    return false;
}
