/* Experiment store for energy x angle spectra: the C interface every spectrum tool calls.
   Each function returns 0 on success and a non-zero error number on failure (also left in
   ZQerrno; ZQerrorMessage gives the text). */
#ifndef ZQ_ZQ_H
#define ZQ_ZQ_H

#ifdef __cplusplus
extern "C" {
#endif

/* Element type codes of stored counts and of callers' buffers. */
enum {
  ZQ_INT8 = 0,
  ZQ_UINT8 = 1,
  ZQ_INT16 = 2,
  ZQ_UINT16 = 3,
  ZQ_INT32 = 4,
  ZQ_UINT32 = 5,
  ZQ_FLOAT32 = 6
};

/* Largest dimension count a description can report, and the size of a record buffer
   (255 characters and the terminating NUL). */
enum { ZQ_MAX_DIM = 8, ZQ_RECORD_SIZE = 256 };

/* Error numbers. */
enum {
  ZQ_OK = 0,
  ZQ_ENOTCONNECTED = 1, /* no experiment connected yet */
  ZQ_ENOEXPERIMENT = 2, /* experiment directory missing or not a directory */
  ZQ_EBADNAME = 3,      /* spectrum name refused */
  ZQ_ENOSPECTRUM = 4,   /* no such spectrum */
  ZQ_EEXTENT = 5,       /* block outside the spectrum's bases and ranges */
  ZQ_EBADTYPE = 6,      /* type code outside 0..6 */
  ZQ_ECONVERT = 7,      /* value does not fit the stored or requested type */
  ZQ_ERECORDLONG = 8,   /* record text over 255 characters */
  ZQ_EBADRECORD = 9,    /* record number outside its range */
  ZQ_EBADSHAPE = 10,    /* bad channel count, or a block call of the wrong dimension */
  ZQ_EBADARG = 11,      /* null pointer or unknown argument text */
  ZQ_EDAMAGED = 12,     /* file is not a well-formed spectrum */
  ZQ_EHDF5 = 13,        /* the HDF5 library failed */
  ZQ_ESYSTEM = 14,      /* a file-system operation failed */
  ZQ_ENOMEM = 15        /* out of memory */
};

/* Number of the most recent failure; left unchanged by successful calls. */
extern int ZQerrno;

/* Text of an error number. For the number of the most recent failure this is that failure's
   own message (naming the spectrum, axis, block or reason); it stays valid until the next
   failing call. */
const char* ZQerrorMessage(int error);

/* Experiment directory; the empty text means the current directory. */
int ZQsetExperimentPath(const char* directory);
/* Opens the experiment set by ZQsetExperimentPath. The argument is "capabilities" when a
   directory was given and the empty text otherwise; other texts are refused. */
int ZQconnectExperiment(const char* capabilities);

/* Every spectrum this process creates or changes is written to a hidden file of its own
   beside the spectrum's file (".NAME.h5.<pid>.part") and put in place by a rename. Without
   holding, that happens at the end of each call. After ZQholdChanges the spectra stay in
   their hidden files, where this process's later calls on the same names find them, until
   ZQfinishChanges: keep != 0 puts them all in place, 0 removes them. A process that ends
   before that, or is killed, leaves every spectrum as it was; its hidden files are removed
   at the next connect. Holding ends with ZQfinishChanges; changes still held at exit are
   removed. */
int ZQholdChanges(void);
int ZQfinishChanges(int keep);

/* Description of a spectrum: dimension count, first channel and channel count per axis
   (entries beyond dim are 0), layout code and type code. */
int ZQinquireSpectrum(const char* name, int* dim, int* bases, int* ranges, int* layout, int* type);

/* Creates a spectrum of zero counts, replacing any spectrum of the same name. */
int ZQcreate1dSpectrum(const char* name, int base, int range, int layout, int type);
int ZQcreate2dSpectrum(const char* name, int base1, int range1, int base2, int range2, int layout,
                       int type);

/* Block transfers. The buffer holds elements of the given type code; in a 2-D block axis 1
   runs fastest: element (i1, i2) sits at (i2 - first2) * count1 + (i1 - first1). */
int ZQread1dSpectrum(const char* name, int first, int count, void* buffer, int type);
int ZQwrite1dSpectrum(const char* name, int first, int count, const void* buffer, int type);
int ZQread2dSpectrum(const char* name, int first1, int count1, int first2, int count2, void* buffer,
                     int type);
int ZQwrite2dSpectrum(const char* name, int first1, int count1, int first2, int count2,
                      const void* buffer, int type);

/* Records: information 1..16, the others one per axis 1..dim. A read fills a buffer of
   ZQ_RECORD_SIZE bytes (an absent record reads as the empty text); writing the empty text
   removes the record. */
int ZQreadInformation(const char* name, int number, char* buffer);
int ZQwriteInformation(const char* name, int number, const char* text);
int ZQreadAnnotation(const char* name, int axis, char* buffer);
int ZQwriteAnnotation(const char* name, int axis, const char* text);
int ZQreadCalibration(const char* name, int axis, char* buffer);
int ZQwriteCalibration(const char* name, int axis, const char* text);
int ZQreadEfficiency(const char* name, int axis, char* buffer);
int ZQwriteEfficiency(const char* name, int axis, const char* text);

#ifdef __cplusplus
}
#endif

#endif
